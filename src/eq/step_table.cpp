#include "eq/step_table.h"

namespace zr78 {

int stepIndex(std::span<const double> steps, double value) {
  const int n = static_cast<int>(steps.size());
  if (n == 0 || value <= steps[0]) return 0;
  // Checked before the search, so a value on a repeated last step selects
  // the last position, not the first of the repeats.
  if (value >= steps[n - 1]) return n - 1;
  for (int i = 1; i < n; ++i) {
    if (steps[i] >= value) return i;
  }
  return n - 1;  // NaN
}

}  // namespace zr78
