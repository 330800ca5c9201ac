// Frames for receiver and transport tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "link/frame_codec.h"

namespace zr78::test {

using Bytes = std::vector<uint8_t>;

inline Bytes frameOf(uint8_t command, const Bytes& data) {
  return buildFrame(command, data.data(), data.size());
}

// Command 3 or 6 data: (address, value) entries, big-endian.
inline Bytes entries(std::initializer_list<std::pair<int, int>> pairs) {
  Bytes data;
  for (const auto& [address, value] : pairs) {
    data.push_back(static_cast<uint8_t>(address >> 8));
    data.push_back(static_cast<uint8_t>(address));
    data.push_back(static_cast<uint8_t>(value >> 8));
    data.push_back(static_cast<uint8_t>(value));
  }
  return data;
}

inline Bytes readReply(std::initializer_list<std::pair<int, int>> pairs) {
  return frameOf(CMD_READ_REGISTERS, entries(pairs));
}

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Bytes textBytes(const char* text) {
  Bytes out;
  for (const char* p = text; *p; ++p) out.push_back(static_cast<uint8_t>(*p));
  return out;
}

}  // namespace zr78::test
