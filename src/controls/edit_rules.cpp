#include "controls/edit_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "text/number_text.h"

namespace zr78 {
namespace {

int truncToInt(double v) {
  if (std::isnan(v)) return 0;
  constexpr double lo = std::numeric_limits<int>::min();
  constexpr double hi = std::numeric_limits<int>::max();
  return static_cast<int>(std::clamp(std::trunc(v), lo, hi));
}

}  // namespace

EditRules plainNumberRules(std::string format, int minimum, int maximum, int divisor) {
  EditRules rules;
  rules.minimum = minimum;
  rules.maximum = maximum;
  const double shownDivisor = divisor == 0 ? 1.0 : divisor;
  if (!format.empty()) {
    rules.text = [format = std::move(format), shownDivisor](int value) {
      return formatNumber(format, value / shownDivisor);
    };
  }
  rules.valueOf = [divisor](std::string_view typed) { return typedNumber(typed) * divisor; };
  rules.valueOfNumber = [divisor](double number) { return number * divisor; };
  rules.displayValue = [shownDivisor](int value) { return value / shownDivisor; };
  return rules;
}

int clampToRange(const EditRules& rules, int value) {
  return std::clamp(value, std::min(rules.minimum, rules.maximum),
                    std::max(rules.minimum, rules.maximum));
}

std::string shownText(const EditRules& rules, int value) {
  return rules.text ? rules.text(clampToRange(rules, value)) : std::string();
}

int typedValue(const EditRules& rules, std::string_view typed) {
  const double v = rules.valueOf ? rules.valueOf(typed) : typedNumber(typed);
  return clampToRange(rules, truncToInt(v));
}

int valueFromNumber(const EditRules& rules, double number) {
  const double v = rules.valueOfNumber ? rules.valueOfNumber(number) : number;
  return clampToRange(rules, truncToInt(v));
}

double displayValue(const EditRules& rules, int value) {
  return rules.displayValue ? rules.displayValue(value) : value;
}

}  // namespace zr78
