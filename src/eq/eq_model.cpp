#include "eq/eq_model.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "eq/eq_tables.h"
#include "eq/step_table.h"

namespace zr78 {

namespace {

constexpr int kChannelBlockBase = 138;  // high-pass code of channel 0
constexpr int kChannelBlockStride = 136;
constexpr int kFirstBandFrequency = 147;
constexpr int kLimiterBase = 84;  // attack of channel 0
constexpr int kLimiterStride = 7;
constexpr int32_t kTenthsFlag = 0x8000;

constexpr std::array<int32_t, kReleaseEntryCount> kReleaseWords = {2, 4, 6, 8, 16, 32};
constexpr std::array<std::string_view, kReleaseEntryCount> kReleaseTexts = {
    "Atk*2", "Atk*4", "Atk*6", "Atk*8", "Atk*16", "Atk*32"};

}  // namespace

int32_t truncClamped(double value, int32_t lo, int32_t hi) {
  if (std::isnan(value)) return lo;
  if (value <= lo) return lo;
  if (value >= hi) return hi;
  return static_cast<int32_t>(value);
}

std::optional<int> eqRegisterAddress(int channel, int param) {
  if (!isChannel(channel)) return std::nullopt;
  const int block = kChannelBlockBase + kChannelBlockStride * channel;
  const int limiter = kLimiterBase + kLimiterStride * channel;
  const int band4 = kFirstBandFrequency - kChannelBlockBase;  // band group offset
  using namespace EqParamIndex;
  if (param >= kBandFrequency && param < kBandQ)
    return block + band4 + 4 * (param - kBandFrequency);
  if (param >= kBandQ && param < kBandGain) return block + band4 + 2 + 4 * (param - kBandQ);
  if (param >= kBandGain && param < kHighPassFrequency)
    return block + band4 + 1 + 4 * (param - kBandGain);
  switch (param) {
    case kHighPassFrequency: return block + 1;
    case kHighPassCode:
    case kHighPassSlope: return block;
    case kLowPassFrequency: return block + 5;
    case kLowPassCode:
    case kLowPassSlope: return block + 4;
    case kLimiterThreshold: return limiter + 2;
    case kLimiterAttack: return limiter;
    case kLimiterRelease: return limiter + 1;
    default: return std::nullopt;
  }
}

int32_t encodeFrequency(double frequencyHz) {
  if (frequencyHz < 100) return kTenthsFlag + truncClamped(frequencyHz * 10, 0, 999);
  return truncClamped(frequencyHz, 100, kTenthsFlag - 1);
}

double decodeFrequency(int32_t word) {
  if (word >= kTenthsFlag) return (word - kTenthsFlag) / 10.0;
  return word;
}

int32_t encodeQ(double displayedQ) {
  return truncClamped(displayedQ * 100 / Q_SCALE, 0, kTenthsFlag - 1);
}

double decodeQ(int32_t word) {
  const int32_t magnitude = word & 0x7FFF;
  if (word & kTenthsFlag) return magnitude * Q_SCALE / 1000;
  return magnitude * Q_SCALE / 100;
}

double clampDisplayedQ(double displayedQ) {
  if (!(displayedQ >= kMinDisplayedQ)) return kMinDisplayedQ;  // NaN included
  return std::min(displayedQ, kMaxDisplayedQ);
}

int32_t encodeGain(double gainDb) { return truncClamped(gainDb * 10 + 500, 0, 0xFFFF); }
double decodeGain(int32_t word) { return (word - 500) / 10.0; }
int32_t encodeThreshold(double thresholdDbu) { return encodeGain(thresholdDbu); }
double decodeThreshold(int32_t word) { return decodeGain(word); }

int32_t encodeAttack(double attackMs) { return truncClamped(attackMs * 10, 0, 0xFFFF); }
double decodeAttack(int32_t word) { return word / 10.0; }

std::optional<int32_t> releaseWord(int listPosition) {
  if (listPosition < 0 || listPosition >= kReleaseEntryCount) return std::nullopt;
  return kReleaseWords[listPosition];
}

int releaseListPosition(int32_t word) {
  const auto* it = std::find(kReleaseWords.begin(), kReleaseWords.end(), word);
  return it == kReleaseWords.end() ? 0 : static_cast<int>(it - kReleaseWords.begin());
}

std::string_view releaseText(int listPosition) {
  if (listPosition < 0 || listPosition >= kReleaseEntryCount) return {};
  return kReleaseTexts[listPosition];
}

int qStepIndex(double displayedQ) { return stepIndex(std::span(Q_STEPS).first(101), displayedQ); }
int attackStepIndex(double attackMs) {
  return stepIndex(std::span(ATTACK_STEPS).first(107), attackMs);
}

std::optional<int> linkSlotAddress(int channel, int slot) {
  if (!isChannel(channel) || slot < 0 || slot >= kLinkSlotCount) return std::nullopt;
  const int block = kChannelBlockBase + kChannelBlockStride * channel;
  const int limiter = kLimiterBase + kLimiterStride * channel;
  if (slot < 124) return block + 8 + slot;
  // Slots 124..135, in slot order.
  const std::array<int, 12> tail = {
      26 + channel,  // channel gain word
      2 + channel,   // mute (never propagated)
      block + 5,     // low-pass frequency
      block + 4,     // low-pass code
      block + 6,     // 144 + 136c
      block + 1,     // high-pass frequency
      block,         // high-pass code
      block + 2,     // 140 + 136c
      73 + channel,  // delay
      limiter + 2,   // threshold
      limiter,       // attack
      limiter + 1,   // release multiplier
  };
  return tail[slot - 124];
}

std::optional<int> linkSlotOfParam(int param) {
  using namespace EqParamIndex;
  if (param >= kBandFrequency && param < kBandQ) return 4 * param + 1;
  if (param >= kBandQ && param < kBandGain) return 4 * (param - kBandQ) + 3;
  if (param >= kBandGain && param < kHighPassFrequency) return 4 * (param - kBandGain) + 2;
  switch (param) {
    case kHighPassFrequency: return 129;
    case kHighPassCode: return 130;
    case kLowPassFrequency: return 126;
    case kLowPassCode: return 127;
    case kLimiterThreshold: return 133;
    case kLimiterAttack: return 134;
    case kLimiterRelease: return 135;
    default: return std::nullopt;
  }
}

}  // namespace zr78
