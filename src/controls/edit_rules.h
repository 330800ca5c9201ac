// What a numeric edit shows and accepts. The edit holds an integer (a
// register value or a table position) in [minimum, maximum]; how that
// integer reads as text, and how a typed text becomes one, comes from the
// models through these rules, which the panel owning the edit fills in. The
// control itself knows no parameter. Standard library only.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zr78 {

struct EditRules {
  int minimum = 0;
  int maximum = 100;
  // The text shown for a value inside the range; without it the edit shows
  // no text.
  std::function<std::string(int value)> text;
  // The value a typed text stands for, before truncation and clamping.
  std::function<double(std::string_view typed)> valueOf;
  // The value of a number in display units set by the program (not typed).
  std::function<double(double number)> valueOfNumber;
  // The value in display units.
  std::function<double(int value)> displayValue;
};

// value / divisor shown with a printf format (one floating-point conversion);
// typed and set numbers × divisor. An empty format shows no text. The edit's
// default is plainNumberRules("%0.0fdB", 0, 100).
EditRules plainNumberRules(std::string format, int minimum, int maximum, int divisor = 1);

// What the edit does with its rules: every value is clamped to the range,
// every number truncated toward zero (defined for any double, NaN gives 0).
int clampToRange(const EditRules& rules, int value);
std::string shownText(const EditRules& rules, int value);
int typedValue(const EditRules& rules, std::string_view typed);
int valueFromNumber(const EditRules& rules, double number);
double displayValue(const EditRules& rules, int value);

}  // namespace zr78
