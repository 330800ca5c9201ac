// CRC-16/MODBUS, shared by the frames on the wire and the preset files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zr78 {

// CRC-16/MODBUS: initial 0xFFFF, reflected polynomial 0xA001, no final XOR.
// Known answer: "123456789" -> 0x4B37.
constexpr uint16_t crc16(const uint8_t* data, size_t count) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < count; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
  }
  return crc;
}

}  // namespace zr78
