#include "channels/gain_word.h"

#include <algorithm>

#include "text/number_text.h"

namespace zr78 {

namespace {
constexpr int32_t kPhaseZeroOffset = 500;
constexpr int32_t kGainBase = 100;
}  // namespace

int32_t encodeGainWord(int gainDb, bool phase180) {
  const int gain = std::clamp(gainDb, kMinChannelGainDb, kMaxChannelGainDb);
  const int32_t base = gain == kMinChannelGainDb ? 0 : gain + kGainBase;
  return base + (phase180 ? 0 : kPhaseZeroOffset);
}

ChannelGain decodeGainWord(int32_t word) {
  const int gain = word % kPhaseZeroOffset - kGainBase;
  return {std::clamp(gain, kMinChannelGainDb, kMaxChannelGainDb), word < kPhaseZeroOffset};
}

int32_t linkedGainWord(int32_t sourceWord, int32_t destinationWord) {
  return sourceWord % kPhaseZeroOffset +
         (destinationWord >= kPhaseZeroOffset ? kPhaseZeroOffset : 0);
}

std::string channelGainText(int gainDb) {
  return gainDb <= kMinChannelGainDb ? "OFF" : formatNumber("%0.0fdB", gainDb);
}

double channelGainOfText(std::string_view typed) {
  if (typed.find("OFF") != std::string_view::npos) return kMinChannelGainDb;
  return typedNumber(typed);
}

}  // namespace zr78
