// The register model of one output channel's equaliser, crossovers and
// limiter: which register holds which parameter and how an engineering value
// (Hz, Q, dB, dBu, ms) becomes a 16-bit register word and back.
//
// Words are produced by truncation toward zero. Every per-channel operation
// takes channel 0..7 and rejects any other index with an empty result.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "registers/register_map.h"

namespace zr78 {

inline bool isChannel(int channel) { return channel >= 0 && channel < kChannelCount; }

// trunc(value) clamped into [lo, hi]; NaN gives lo. Clamping happens before
// the conversion, so an absurd value can never overflow the integer.
int32_t truncClamped(double value, int32_t lo, int32_t hi);

// One parameter of one channel, 0..101.
namespace EqParamIndex {
constexpr int kBandFrequency = 0;  // + band 0..30
constexpr int kBandQ = 31;         // + band
constexpr int kBandGain = 62;      // + band
constexpr int kHighPassFrequency = 93;
constexpr int kHighPassCode = 94;
constexpr int kHighPassSlope = 95;  // panel's last-edited marker; sent as 94
constexpr int kLowPassFrequency = 96;
constexpr int kLowPassCode = 97;
constexpr int kLowPassSlope = 98;  // panel's last-edited marker; sent as 97
constexpr int kLimiterThreshold = 99;
constexpr int kLimiterAttack = 100;
constexpr int kLimiterRelease = 101;
constexpr int kCount = 102;
}  // namespace EqParamIndex

// Register address of parameter `param` of `channel`. The slope markers 95 and
// 98 name the register of their code (94, 97).
std::optional<int> eqRegisterAddress(int channel, int param);

// The displayed Q is the filter's quality factor times Q_SCALE (19/6).
constexpr double Q_SCALE = 3.1666666666666665;
constexpr double kMinDisplayedQ = 0.4;
constexpr double kMaxDisplayedQ = 128;

// FrequencyWord: below 100 Hz bit 15 plus tenths of a hertz, else whole hertz.
int32_t encodeFrequency(double frequencyHz);
double decodeFrequency(int32_t word);

// Q word: displayed Q / Q_SCALE in hundredths; with bit 15 in thousandths
// (accepted from the device, never produced).
int32_t encodeQ(double displayedQ);
double decodeQ(int32_t word);
// The Q that may enter the response computation: a word of 0 decodes to 0,
// which would make the curve NaN.
double clampDisplayedQ(double displayedQ);

// Band gain (dB) and limiter threshold (dBu) share one encoding: tenths + 500.
int32_t encodeGain(double gainDb);
double decodeGain(int32_t word);
int32_t encodeThreshold(double thresholdDbu);
double decodeThreshold(int32_t word);
constexpr double kMinGainDb = -20, kMaxGainDb = 20;
constexpr double kMinThresholdDbu = -30, kMaxThresholdDbu = 6;

// Limiter attack in tenths of a millisecond.
int32_t encodeAttack(double attackMs);
double decodeAttack(int32_t word);

// Limiter release multiplier list: "Atk*2", "Atk*4", "Atk*6", "Atk*8",
// "Atk*16", "Atk*32" (list positions 0..5).
constexpr int kReleaseEntryCount = 6;
std::optional<int32_t> releaseWord(int listPosition);
// Every unlisted word (2 included) selects "Atk*2".
int releaseListPosition(int32_t word);
std::string_view releaseText(int listPosition);

// Step index of a value in Q_STEPS (first 101 entries) or ATTACK_STEPS
// (first 107): the first step at or above the value.
int qStepIndex(double displayedQ);
int attackStepIndex(double attackMs);

// LinkMap: 136 slots per channel, slot -> register address.
constexpr int kLinkSlotCount = 136;
constexpr int kSlotChannelGain = 124;
constexpr int kSlotChannelMute = 125;
constexpr int kSlotChannelDelay = 132;
std::optional<int> linkSlotAddress(int channel, int slot);
// The slot of an EqParamIndex (95 and 98 have none).
std::optional<int> linkSlotOfParam(int param);

}  // namespace zr78
