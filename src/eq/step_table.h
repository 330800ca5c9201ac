// The one search of an ascending table of steps (Q steps, attack steps, the
// frequency grid, the edit fields' tables): which step a value selects.
#pragma once

#include <span>

namespace zr78 {

// 0 for a value at or below the first step, the last position for a value at
// or above the last step (and for NaN), otherwise the first position whose
// step is at or above the value. 0 for an empty table.
int stepIndex(std::span<const double> steps, double value);

}  // namespace zr78
