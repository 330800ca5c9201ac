// The noise gate threshold (register 1245): one of 21 device values, edited
// as a position 0..20 with an up-down control.
#pragma once

#include <array>
#include <cstdint>

#include "registers/register_map.h"

namespace zr78 {

constexpr int kNoiseGatePositions = 21;
extern const std::array<int32_t, kNoiseGatePositions> NOISE_GATE_VALUES;

// The first position whose value is not below the register value; 0 when the
// value is above the last (327).
int noiseGatePosition(int32_t value);
// The value of a position, clamped to 0..20.
int32_t noiseGateValue(int position);
// The up-down's new position: field position + step (+1 up, −1 down, 0),
// clamped to 0..20.
int noiseGateStep(int fieldPosition, int step);

}  // namespace zr78
