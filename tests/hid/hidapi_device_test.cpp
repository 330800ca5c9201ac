#include "hid/hidapi_device.h"

#include <gtest/gtest.h>

#include "link/hid_transport.h"

namespace zr78 {
namespace {

// Runs where no amplifier is attached (CI, developers' machines without one).
TEST(HidapiDeviceTest, WithoutAmplifierOpenFailsCleanly) {
  HidapiDevice device;
  HidPort io(device);
  EXPECT_FALSE(io.openDevice());
  uint8_t report[kReportSize] = {};
  EXPECT_EQ(device.readReport(report, 10), -1);
  EXPECT_EQ(device.writeReport(report), -1);
  io.closeDevice();
  device.close();  // closing twice is harmless
  EXPECT_FALSE(device.open()) << "a second attempt fails the same way";
}

}  // namespace
}  // namespace zr78
