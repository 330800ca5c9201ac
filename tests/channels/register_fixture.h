// A register table with the defaults and every record clean, and a recorder
// of the addresses an operation notifies.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "channels/link_groups.h"
#include "registers/register_table.h"

namespace zr78 {

class RegisterFixture : public ::testing::Test {
 protected:
  RegisterFixture() { table.initRegisters(); }
  RegisterNotify recorder() {
    return [this](int address) { notified.push_back(address); };
  }
  std::vector<int> dirtyAddresses() const {
    std::vector<int> out;
    for (int a = 0; a < kRegisterCount; ++a)
      if (table.dirty(a)) out.push_back(a);
    return out;
  }

  RegisterTable table;
  std::vector<int> notified;
};

}  // namespace zr78
