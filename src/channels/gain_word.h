// GainWord: an output channel's gain (whole dB, −60 .. 0; −60 = off) and
// phase in one register word (26 + channel).
//
// base = 0 for −60 dB, else gain + 100 (41 .. 100); + 500 for phase 0°.
// Words: 0 and 41..100 (phase 180°), 500 and 541..600 (phase 0°).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zr78 {

constexpr int kMinChannelGainDb = -60;  // shown as "OFF"
constexpr int kMaxChannelGainDb = 0;

struct ChannelGain {
  int gainDb = 0;
  bool phase180 = false;  // phase button pressed
  bool operator==(const ChannelGain&) const = default;
};

int32_t encodeGainWord(int gainDb, bool phase180);
// gain = word mod 500 − 100 clamped to −60..0; phase 180° below 500.
ChannelGain decodeGainWord(int32_t word);
// Link propagation copies only the gain: (source mod 500), keeping the
// destination's phase (+500 when the destination is 500 or more).
int32_t linkedGainWord(int32_t sourceWord, int32_t destinationWord);

// The gain box: "%0.0fdB", "OFF" at −60 dB (and below). A typed text holding
// "OFF" means −60; any other is read as a number (the box truncates and
// clamps it).
std::string channelGainText(int gainDb);
double channelGainOfText(std::string_view typed);

}  // namespace zr78
