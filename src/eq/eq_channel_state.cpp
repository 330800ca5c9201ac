#include "eq/eq_channel_state.h"

#include <algorithm>

#include "eq/eq_model.h"

namespace zr78 {

EqChannelState::EqChannelState() {
  type.fill(kPeakingShape);
  gainDb.fill(0);
  gainDb[kHighPassPoint] = kCrossoverHandleGainDb;
  gainDb[kLowPassPoint] = kCrossoverHandleGainDb;
  q.fill(7.6);
}

namespace {

template <typename Read>
bool loadFrom(Read read, int channel, EqChannelState& state) {
  if (!isChannel(channel)) return false;
  const auto word = [&](int param) { return read(*eqRegisterAddress(channel, param)); };
  using namespace EqParamIndex;
  for (int b = 0; b < kBandCount; ++b) {
    const int point = kFirstBandPoint + b;
    state.type[point] = kPeakingShape;
    state.frequencyHz[point] = decodeFrequency(word(kBandFrequency + b));
    state.q[point] = clampDisplayedQ(decodeQ(word(kBandQ + b)));
    state.gainDb[point] = std::clamp(decodeGain(word(kBandGain + b)), kMinGainDb, kMaxGainDb);
  }
  state.type[kHighPassPoint] = word(kHighPassCode);
  state.frequencyHz[kHighPassPoint] = decodeFrequency(word(kHighPassFrequency));
  state.type[kLowPassPoint] = word(kLowPassCode);
  state.frequencyHz[kLowPassPoint] = decodeFrequency(word(kLowPassFrequency));
  return true;
}

}  // namespace

bool loadEqChannelState(const RegisterImage& registers, int channel, EqChannelState& state) {
  return loadFrom([&](int a) { return registers[a]; }, channel, state);
}

bool loadEqChannelState(const RegisterTable& table, int channel, EqChannelState& state) {
  return loadFrom([&](int a) { return table.getRegister(a); }, channel, state);
}

}  // namespace zr78
