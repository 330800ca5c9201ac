#include "eq/eq_field_text.h"

#include <algorithm>
#include <array>
#include <span>

#include "eq/eq_tables.h"
#include "eq/step_table.h"
#include "text/number_text.h"

namespace zr78 {
namespace {

constexpr int kGridFieldSearched = 363;

constexpr std::array<double, kGridFieldPositions> kGridField = [] {
  std::array<double, kGridFieldPositions> f{};
  const int last = static_cast<int>(FREQUENCY_GRID.size()) - 1;
  for (int i = 0; i < kGridFieldPositions; ++i) f[i] = FREQUENCY_GRID[std::min(i + 1, last)];
  return f;
}();

template <size_t N>
double entryAt(const std::array<double, N>& table, int position) {
  return table[static_cast<size_t>(std::clamp(position, 0, static_cast<int>(N) - 1))];
}

}  // namespace

std::string frequencyFieldText(int hz, std::string_view format) {
  return hz < 20 ? "OFF" : formatNumber(format, hz);
}

double qStepValue(int position) { return entryAt(Q_STEPS, position); }

std::string qStepText(int position) {
  const double q = qStepValue(position);
  return formatNumber(q < 10 ? "%0.2f" : q < 100 ? "%0.1f" : "%0.0f", q);
}

double attackStepValue(int position) { return entryAt(ATTACK_STEPS, position); }

std::string attackStepText(int position) {
  const double ms = attackStepValue(position);
  return formatNumber(ms < 1 ? "%0.1fms" : "%0.0fms", ms);
}

double gridFieldFrequency(int position) { return entryAt(kGridField, position); }

std::string gridFieldText(int position) {
  const double hz = gridFieldFrequency(position);
  if (hz < 19.7) return "OFF";
  return formatNumber(hz < 100 ? "%0.1f" : "%0.0f", hz);
}

int gridFieldPosition(double hz) {
  return stepIndex(std::span(kGridField).first(kGridFieldSearched), hz);
}

}  // namespace zr78
