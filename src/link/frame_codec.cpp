#include "link/frame_codec.h"

#include <cstring>

namespace zr78 {

std::vector<uint8_t> buildFrame(uint8_t command, const uint8_t* data, size_t count) {
  if (count > kMaxFrameData) return {};
  std::vector<uint8_t> frame(count + kFrameOverhead);
  frame[0] = kFrameStart;
  frame[1] = frameLengthByte(count);
  frame[2] = command;
  if (count > 0) std::memcpy(frame.data() + 3, data, count);
  const uint16_t crc = crc16(frame.data(), count + 3);
  frame[count + 3] = static_cast<uint8_t>(crc >> 8);
  frame[count + 4] = static_cast<uint8_t>(crc & 0xFF);
  return frame;
}

FrameSender::FrameSender(LinkState& state, const Clock& clock, FrameWriter& writer)
    : state_(state), clock_(clock), writer_(writer) {}

bool FrameSender::sendFrame(uint8_t command, const uint8_t* data, size_t count) {
  const std::vector<uint8_t> frame = buildFrame(command, data, count);
  if (frame.empty()) return false;
  // Module text goes to the WiFi module, whose silence says nothing about
  // the amplifier.
  const bool declaredDead = command != CMD_MODULE_TEXT && applyMissRule();
  writer_.writeFrame(frame.data(), frame.size());
  // The transport sets `connected` from the write's result; a link the miss
  // rule has declared dead must stay so, or a present but silent device
  // would keep a bulk transfer waiting on it for minutes.
  if (declaredDead) state_.connected.store(false);
  return true;
}

bool FrameSender::applyMissRule() {
  // Signed difference: the tick count wraps, and the reader may store a tick
  // slightly newer than the one read here.
  const auto silentMs = static_cast<int32_t>(clock_.tickMs() - state_.lastReceiveTick.load());
  if (silentMs < silenceLimitMs_) return false;
  if (state_.missCount.fetch_add(1) >= kMissesBeforeDisconnect) {
    state_.connected.store(false);
    state_.missCount.store(0);
    return true;
  }
  return false;
}

}  // namespace zr78
