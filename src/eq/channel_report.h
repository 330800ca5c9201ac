// Text reports of one channel of a register image, for zr78ctl: the computed
// response as CSV and the EQ, crossovers and limiter in engineering units.
#pragma once

#include <string>

#include "eq/eq_channel_state.h"

namespace zr78 {

// "column,frequency_hz,total_db" and one row per evaluation column of a plot
// width × height pixels, with the EQ panel's crossover limits. Empty for a
// channel above 7 or a plot smaller than 1 × 1.
std::string responseCsv(const RegisterImage& registers, int channel, int width, int height);

// The channel's 31 bands (frequency, Q, gain), high-pass and low-pass (family,
// slope, frequency, whether active) and limiter (threshold, attack, release).
// Empty for a channel above 7.
std::string describeChannelEq(const RegisterImage& registers, int channel);

}  // namespace zr78
