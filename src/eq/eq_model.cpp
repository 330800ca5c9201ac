#include "eq/eq_model.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "eq/eq_tables.h"
#include "eq/step_table.h"

namespace zr78 {

namespace {

constexpr int32_t kTenthsFlag = 0x8000;

constexpr std::array<int32_t, kReleaseEntryCount> kReleaseWords = {2, 4, 6, 8, 16, 32};
constexpr std::array<std::string_view, kReleaseEntryCount> kReleaseTexts = {
    "Atk*2", "Atk*4", "Atk*6", "Atk*8", "Atk*16", "Atk*32"};

// The LinkMap, and through it the register of every EqParamIndex. Slots
// 0..123 are the band groups in register order (band b's register `part` is
// slot 4b + part); slots 124..135 are the rest of the channel.
enum class SlotArea { Band, ChannelBlock, Limiter, ChannelGain, Mute, Delay };

constexpr int kNoParam = -1;
constexpr int kBandSlots = kBandStride * kBandCount;  // 124

struct SlotRow {
  int slot;       // band rows: the slot of band 0; band b adds 4b
  SlotArea area;  // where the register lies
  int offset;     // in the block or limiter group; band rows: the band register
  int param;      // the EqParamIndex that edits it (band rows: of band 0), or kNoParam
};

constexpr std::array<SlotRow, 16> kSlotRows = {{
    {0, SlotArea::Band, kBandShapeOffset, kNoParam},
    {1, SlotArea::Band, kBandFrequencyOffset, EqParamIndex::kBandFrequency},
    {2, SlotArea::Band, kBandGainOffset, EqParamIndex::kBandGain},
    {3, SlotArea::Band, kBandQOffset, EqParamIndex::kBandQ},
    {124, SlotArea::ChannelGain, 0, kNoParam},
    {125, SlotArea::Mute, 0, kNoParam},  // never propagated
    {126, SlotArea::ChannelBlock, kLowPassFrequencyOffset, EqParamIndex::kLowPassFrequency},
    {127, SlotArea::ChannelBlock, kLowPassCodeOffset, EqParamIndex::kLowPassCode},
    {128, SlotArea::ChannelBlock, kLowPassAuxOffset, kNoParam},
    {129, SlotArea::ChannelBlock, kHighPassFrequencyOffset, EqParamIndex::kHighPassFrequency},
    {130, SlotArea::ChannelBlock, kHighPassCodeOffset, EqParamIndex::kHighPassCode},
    {131, SlotArea::ChannelBlock, kHighPassAuxOffset, kNoParam},
    {132, SlotArea::Delay, 0, kNoParam},
    {133, SlotArea::Limiter, kLimiterThresholdOffset, EqParamIndex::kLimiterThreshold},
    {134, SlotArea::Limiter, kLimiterAttackOffset, EqParamIndex::kLimiterAttack},
    {135, SlotArea::Limiter, kLimiterReleaseOffset, EqParamIndex::kLimiterRelease},
}};

static_assert(kBandSlots + 12 == kLinkSlotCount, "every slot has a row");

bool isBandRow(const SlotRow& row) { return row.area == SlotArea::Band; }

int rowAddress(const SlotRow& row, int channel, int band) {
  switch (row.area) {
    case SlotArea::Band: return bandRegister(channel, band, row.offset);
    case SlotArea::ChannelBlock: return channelBlockRegister(channel, row.offset);
    case SlotArea::Limiter: return limiterRegister(channel, row.offset);
    case SlotArea::ChannelGain: return channelGainRegister(channel);
    case SlotArea::Mute: return muteRegister(channel);
    case SlotArea::Delay: return delayRegister(channel);
  }
  return -1;
}

}  // namespace

int32_t truncClamped(double value, int32_t lo, int32_t hi) {
  if (std::isnan(value)) return lo;
  if (value <= lo) return lo;
  if (value >= hi) return hi;
  return static_cast<int32_t>(value);
}

std::optional<int> eqRegisterAddress(int channel, int param) {
  using namespace EqParamIndex;
  // The slope markers name the register of their code.
  if (param == kHighPassSlope) param = kHighPassCode;
  if (param == kLowPassSlope) param = kLowPassCode;
  const auto slot = linkSlotOfParam(param);
  return slot ? linkSlotAddress(channel, *slot) : std::nullopt;
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
  for (const SlotRow& row : kSlotRows) {
    if (isBandRow(row) && slot < kBandSlots && slot % kBandStride == row.slot)
      return rowAddress(row, channel, slot / kBandStride);
    if (!isBandRow(row) && slot == row.slot) return rowAddress(row, channel, 0);
  }
  return std::nullopt;
}

std::optional<int> linkSlotOfParam(int param) {
  for (const SlotRow& row : kSlotRows) {
    if (row.param == kNoParam) continue;
    if (isBandRow(row) && param >= row.param && param < row.param + kBandCount)
      return row.slot + kBandStride * (param - row.param);
    if (!isBandRow(row) && param == row.param) return row.slot;
  }
  return std::nullopt;
}

}  // namespace zr78
