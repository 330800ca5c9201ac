// EqChannelState: the response graph's copy of one channel's EQ in
// engineering units, 33 points: 0 high-pass, 1 low-pass, 2..32 bands 1..31.
#pragma once

#include <array>
#include <cstdint>

#include "registers/register_table.h"

namespace zr78 {

constexpr int kEqPointCount = 33;
constexpr int kHighPassPoint = 0;
constexpr int kLowPassPoint = 1;
constexpr int kFirstBandPoint = 2;
constexpr int kPeakingShape = 7;
// Crossover handles are drawn at this height; not a gain of the response.
constexpr double kCrossoverHandleGainDb = -10;

struct EqChannelState {
  // Point 0/1: the CrossoverCode; bands: the shape, always 7 = peaking.
  std::array<int, kEqPointCount> type{};
  std::array<double, kEqPointCount> frequencyHz{};
  std::array<double, kEqPointCount> gainDb{};
  std::array<double, kEqPointCount> q{};  // displayed Q (includes Q_SCALE)

  // The initial contents: types 7, frequencies 0, gains 0 (crossovers −10),
  // Q 7.6.
  EqChannelState();
};

// Refill a channel's state from its band frequency, Q and gain words and its
// crossover frequency and code words. Gains are clamped to ±20 dB and Q into
// 0.4..128 as the graph does. False (state unchanged) for a channel above 7.
bool loadEqChannelState(const RegisterImage& registers, int channel, EqChannelState& state);
bool loadEqChannelState(const RegisterTable& table, int channel, EqChannelState& state);

}  // namespace zr78
