// The bytes of register commands built from named addresses: the handshake
// mark, the probe, the keep-alive poll and the active-mode read.
#include "link/register_entries.h"

#include <gtest/gtest.h>

#include <vector>

#include "registers/register_map.h"

namespace zr78 {
namespace {

template <size_t N>
std::vector<uint8_t> bytes(const std::array<uint8_t, N>& a) {
  return {a.begin(), a.end()};
}

TEST(RegisterEntries, BigEndianAddressesAndValues) {
  struct Row {
    const char* name;
    std::vector<uint8_t> built;
    std::vector<uint8_t> wire;
  } rows[] = {
      {"probe of register 0", bytes(readRequestData(kIdentityRegister)), {0x00, 0x00}},
      {"keep-alive poll of 1234 and 1248",
       bytes(readRequestData(kInputSourceRegister, kDeviceConfigurationRegister)),
       {0x04, 0xD2, 0x04, 0xE0}},
      {"read of 1242", bytes(readRequestData(kActiveModeRegister)), {0x04, 0xDA}},
      {"1244 = 1", bytes(writeEntryData(kHandshakeRegister, kHandshakeDoneWord)), {0x04, 0xDC, 0x00, 0x01}},
      {"low 16 bits of the value", bytes(writeEntryData(kLastRouteRegister, 0x12345)), {0x06, 0x8D, 0x23, 0x45}},
  };
  for (const Row& r : rows) EXPECT_EQ(r.built, r.wire) << r.name;

  std::vector<uint8_t> data{0x11};
  appendAddress(data, kDbbSwitchRegister);
  EXPECT_EQ(data, (std::vector<uint8_t>{0x11, 0x04, 0xE1}));
}

}  // namespace
}  // namespace zr78
