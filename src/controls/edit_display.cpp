#include "controls/edit_display.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "eq/eq_tables.h"

namespace zr78 {
namespace {

// Time steps of kind 2: i × 62.5 rounded down, 0 .. 5000.
constexpr int TIME_STEP_COUNT = 81;
const std::array<double, TIME_STEP_COUNT>& timeSteps() {
  static const auto table = [] {
    std::array<double, TIME_STEP_COUNT> t{};
    for (int i = 0; i < TIME_STEP_COUNT; ++i) t[i] = std::floor(i * 62.5);
    return t;
  }();
  return table;
}

// The edit box's frequency table: the graph's grid from its second value on
// (19.7 .. 20600 Hz), with 20600 repeated to fill 364 positions.
constexpr int FREQUENCY_COUNT = 364;
constexpr int FREQUENCY_SEARCHED = 363;
const std::array<double, FREQUENCY_COUNT>& frequencies() {
  static const auto table = [] {
    std::array<double, FREQUENCY_COUNT> f{};
    for (int i = 0; i < FREQUENCY_COUNT; ++i) {
      const int g = std::min<int>(i + 1, static_cast<int>(FREQUENCY_GRID.size()) - 1);
      f[i] = FREQUENCY_GRID[g];
    }
    return f;
  }();
  return table;
}

constexpr int Q_SEARCHED = 101;
constexpr int ATTACK_SEARCHED = 107;

// Entry of a table at a position, the position kept inside the table.
double entryAt(const double* table, int n, int position) {
  return table[std::clamp(position, 0, n - 1)];
}

// Truncation toward zero that stays defined for any double.
int truncToInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int>::min();
  constexpr double hi = std::numeric_limits<int>::max();
  return static_cast<int>(std::clamp(std::trunc(v), lo, hi));
}

// A format from the owner is trusted only when it has exactly one
// floating-point conversion; anything else would read a missing argument.
bool safeFloatFormat(const std::string& format) {
  int conversions = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') { ++i; continue; }
    size_t j = i + 1;
    while (j < format.size() && std::string_view("-+ #0123456789.").find(format[j]) != std::string_view::npos) ++j;
    if (j >= format.size() || std::string_view("fFeEgG").find(format[j]) == std::string_view::npos) return false;
    ++conversions;
    i = j;
  }
  return conversions == 1;
}

std::string formatInt(const char* format, int v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

bool contains(const std::string& text, const char* what) {
  return text.find(what) != std::string::npos;
}

// Samples at 48 kHz in the delay kinds' display units, with the integer
// divisions the amplifier's own display uses.
double delayShown(int kind, int a, int d) {
  const long long samples = a;
  const long long div = d == 0 ? 1 : d;
  if (kind == EDIT_DELAY_MS) return static_cast<double>(samples * 10000 / 48 / div) / 10000.0;
  const double distance = static_cast<double>(samples * 34600 / 48 / div);
  return kind == EDIT_DELAY_CM ? distance / 1000.0 : distance / 2540.0;
}

// Typed number x (raw text as typed, empty when set from code) → value before clamping.
double convertTyped(const EditDisplay& d, const std::string& raw, double x) {
  const double xd = x * d.divisor;
  const int half = (d.maximum - d.minimum) / 2;
  switch (d.kind) {
    case EDIT_BALANCE:
      if (contains(raw, "R")) return x + half;
      if (contains(raw, "L")) return half - x;
      return x;
    case EDIT_TIME:
      return xd <= timeSteps()[0] ? 0 : findTablePosition(timeSteps().data(), TIME_STEP_COUNT, xd);
    case EDIT_FREQUENCY:
      return xd <= 19.7 ? 0 : findTablePosition(frequencies().data(), FREQUENCY_SEARCHED, xd);
    case EDIT_Q:
      return xd <= 0.4 ? 0 : findTablePosition(Q_STEPS.data(), Q_SEARCHED, xd);
    case EDIT_ATTACK:
      return xd <= 0.3 ? 0 : findTablePosition(ATTACK_STEPS.data(), ATTACK_SEARCHED, xd);
    case EDIT_GAIN:
      return contains(raw, "OFF") ? d.minimum : xd;
    case EDIT_DELAY_MS:
      return x * 48 + 0.5;
    case EDIT_DELAY_CM:
      return raw.empty() ? x * 48 + 0.5 : x * 48 / 34.6 + 0.5;
    case EDIT_DELAY_INCH:
      return raw.empty() ? x * 48 + 0.5 : x * 48 / 34.6 * 2.54 + 0.5;
    default:
      return xd;
  }
}

int clampToRange(const EditDisplay& d, int v) {
  return std::clamp(v, std::min(d.minimum, d.maximum), std::max(d.minimum, d.maximum));
}

}  // namespace

std::string formatNumber(const std::string& format, double v) {
  char buf[128];
  const std::string& f = safeFloatFormat(format) ? format : std::string("%g");
  std::snprintf(buf, sizeof buf, f.c_str(), v);
  return buf;
}

int findTablePosition(const double* table, int n, double y) {
  if (n <= 0) return 0;
  if (y >= table[n - 1]) return n - 1;
  const bool ascending = table[n - 1] >= table[0];
  for (int i = 1; i < n; ++i) {
    if (ascending ? table[i] >= y : table[i] <= y) return i;
  }
  return n - 1;
}

double readTypedNumber(const std::string& text) {
  std::string kept;
  for (char c : text) {
    if ((c >= '0' && c <= '9') || c == '.' || c == '-') kept += c;
  }
  return kept.empty() ? 0.0 : std::strtod(kept.c_str(), nullptr);
}

int typedValue(const EditDisplay& d, const std::string& text) {
  return clampToRange(d, truncToInt(convertTyped(d, text, readTypedNumber(text))));
}

int valueFromNumber(const EditDisplay& d, double number) {
  return clampToRange(d, truncToInt(convertTyped(d, std::string(), number)));
}

std::string shownText(const EditDisplay& d, int value) {
  const int a = clampToRange(d, value);
  const double div = d.divisor == 0 ? 1.0 : d.divisor;
  switch (d.kind) {
    case EDIT_BALANCE: {
      const int half = d.maximum / 2;
      if (a == half) return "Center";
      return a < half ? formatInt("L%d", half - a) : formatInt("R%d", a - half);
    }
    case EDIT_TIME:
      return formatNumber("%0.0fms", entryAt(timeSteps().data(), TIME_STEP_COUNT, a) / div);
    case EDIT_FREQUENCY: {
      const double f = entryAt(frequencies().data(), FREQUENCY_COUNT, a) / div;
      if (f < 19.7) return "OFF";
      return formatNumber(f < 100 ? "%0.1f" : "%0.0f", f);
    }
    case EDIT_LEVEL: {
      const int whole = d.divisor == 0 ? a : a / d.divisor;
      return whole < 20 ? "OFF" : formatNumber(d.format, whole);
    }
    case EDIT_Q: {
      const double q = entryAt(Q_STEPS.data(), static_cast<int>(Q_STEPS.size()), a) / div;
      return formatNumber(q < 10 ? "%0.2f" : q < 100 ? "%0.1f" : "%0.0f", q);
    }
    case EDIT_GAIN:
      return a == d.minimum ? "OFF" : formatNumber(d.format, a / div);
    case EDIT_DELAY_MS:
      return formatNumber("%0.3f", delayShown(d.kind, a, d.divisor));
    case EDIT_DELAY_CM:
    case EDIT_DELAY_INCH:
      return formatNumber("%0.2f", delayShown(d.kind, a, d.divisor));
    case EDIT_ATTACK: {
      const double s = entryAt(ATTACK_STEPS.data(), static_cast<int>(ATTACK_STEPS.size()), a) / div;
      return formatNumber(s < 1 ? "%0.1fms" : "%0.0fms", s);
    }
    default:
      return formatNumber(d.format, a / div);
  }
}

double displayValue(const EditDisplay& d, int value) {
  const double div = d.divisor == 0 ? 1.0 : d.divisor;
  switch (d.kind) {
    case EDIT_TIME:
      return entryAt(timeSteps().data(), TIME_STEP_COUNT, value) / div;
    case EDIT_FREQUENCY:
      return value < 0 ? 0 : entryAt(frequencies().data(), FREQUENCY_COUNT, value) / div;
    case EDIT_Q:
      return value < 0 ? 0 : entryAt(Q_STEPS.data(), static_cast<int>(Q_STEPS.size()), value) / div;
    case EDIT_ATTACK:
      return value < 0 ? 0 : entryAt(ATTACK_STEPS.data(), static_cast<int>(ATTACK_STEPS.size()), value) / div;
    case EDIT_DELAY_MS:
    case EDIT_DELAY_CM:
    case EDIT_DELAY_INCH:
      return (static_cast<double>(static_cast<long long>(value) * 10000 / 48) + 5) / 10000.0 / div;
    default:
      return value / div;
  }
}

}  // namespace zr78
