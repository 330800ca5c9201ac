// The virtual amplifier keeps factory settings of its own; they must agree
// with the host's default image, register for register.
#include "sim/factory_registers.h"

#include <gtest/gtest.h>

#include "registers/default_image.h"

namespace zr78::sim {
namespace {

TEST(FactoryRegistersTest, EqualTheHostsDefaultImage) {
  const RegisterImage& device = factoryRegisters();
  const RegisterImage& host = defaultRegisterImage();
  for (int a = 0; a < kRegisterCount; ++a) EXPECT_EQ(device[a], host[a]) << "register " << a;
}

}  // namespace
}  // namespace zr78::sim
