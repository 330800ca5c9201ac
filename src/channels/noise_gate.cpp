#include "channels/noise_gate.h"

#include <algorithm>

namespace zr78 {

const std::array<int32_t, kNoiseGatePositions> NOISE_GATE_VALUES = {
    0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 16, 18, 23, 29, 41, 65, 103, 184, 327};

int noiseGatePosition(int32_t value) {
  const auto* it = std::lower_bound(NOISE_GATE_VALUES.begin(), NOISE_GATE_VALUES.end(), value);
  return it == NOISE_GATE_VALUES.end() ? 0 : static_cast<int>(it - NOISE_GATE_VALUES.begin());
}

int32_t noiseGateValue(int position) {
  return NOISE_GATE_VALUES[std::clamp(position, 0, kNoiseGatePositions - 1)];
}

int noiseGateStep(int fieldPosition, int step) {
  // Positions beyond 0..20 are clamped before the step is added, so a huge
  // field value cannot overflow.
  const int position = std::clamp(fieldPosition, -1, kNoiseGatePositions);
  return std::clamp(position + std::clamp(step, -1, 1), 0, kNoiseGatePositions - 1);
}

}  // namespace zr78
