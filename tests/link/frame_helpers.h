// Frames for receiver and transport tests.
#pragma once

#include <algorithm>
#include <cstddef>
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

// The report payloads (64 bytes each) that carry `frame` in one packet.
inline std::vector<Bytes> packetPayloads(const Bytes& frame) {
  Bytes packet = {kPacketMagic0, kPacketMagic1, static_cast<uint8_t>(frame.size() >> 8),
                  static_cast<uint8_t>(frame.size()), kPacketMagic4};
  packet.insert(packet.end(), frame.begin(), frame.end());
  std::vector<Bytes> out;
  for (size_t at = 0; at < packet.size(); at += 64) {
    Bytes piece(packet.begin() + static_cast<std::ptrdiff_t>(at),
                packet.begin() + static_cast<std::ptrdiff_t>(std::min(at + 64, packet.size())));
    piece.resize(64, 0x00);
    out.push_back(piece);
  }
  return out;
}

inline Bytes textBytes(const char* text) {
  Bytes out;
  for (const char* p = text; *p; ++p) out.push_back(static_cast<uint8_t>(*p));
  return out;
}

}  // namespace zr78::test
