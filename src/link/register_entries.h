// The register entries of command data, built from named addresses: a read
// request (command 6) is a list of big-endian addresses, a write (command 3)
// a list of big-endian address and value pairs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zr78 {

constexpr std::array<uint8_t, 2> addressBytes(int address) {
  return {static_cast<uint8_t>((address >> 8) & 0xFF), static_cast<uint8_t>(address & 0xFF)};
}

inline void appendAddress(std::vector<uint8_t>& data, int address) {
  const auto bytes = addressBytes(address);
  data.insert(data.end(), bytes.begin(), bytes.end());
}

// Command-6 data asking for the given registers.
template <typename... Addresses>
constexpr std::array<uint8_t, 2 * sizeof...(Addresses)> readRequestData(Addresses... addresses) {
  std::array<uint8_t, 2 * sizeof...(Addresses)> data{};
  size_t at = 0;
  for (const int address : {static_cast<int>(addresses)...}) {
    const auto bytes = addressBytes(address);
    data[at++] = bytes[0];
    data[at++] = bytes[1];
  }
  return data;
}

// Command-3 data writing one register (the low 16 bits of the value).
constexpr std::array<uint8_t, 4> writeEntryData(int address, int32_t value) {
  const auto bytes = addressBytes(address);
  return {bytes[0], bytes[1], static_cast<uint8_t>((value >> 8) & 0xFF),
          static_cast<uint8_t>(value & 0xFF)};
}

}  // namespace zr78
