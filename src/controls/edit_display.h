// Unit conversions of the numeric edit box: how a stored integer (a register
// value or a table position) is shown, and how a typed text becomes one.
// Standard library only, so the rules are testable without a window.
#pragma once

#include <string>

namespace zr78 {

// Display kinds; any kind not listed shows value / divisor with the format.
enum EditKind : int {
  EDIT_PLAIN = 0,
  EDIT_BALANCE = 1,      // "Center", "L%d", "R%d" around maximum / 2
  EDIT_TIME = 2,         // position in the 62.5 ms table, "%0.0fms"
  EDIT_FREQUENCY = 3,    // position in the edit box's frequency table
  EDIT_LEVEL = 4,        // whole units, "OFF" below 20
  EDIT_Q = 5,            // position in Q_STEPS
  EDIT_GAIN = 7,         // "OFF" at the minimum
  EDIT_DELAY_MS = 8,     // samples at 48 kHz shown in ms
  EDIT_DELAY_CM = 9,     // samples shown in cm (sound at 346 m/s)
  EDIT_DELAY_INCH = 10,  // samples shown in inches
  EDIT_ATTACK = 12,      // position in ATTACK_STEPS
};

struct EditDisplay {
  int kind = EDIT_PLAIN;
  std::string format = "%0.0fdB";  // printf format with one floating-point conversion
  int minimum = 0;
  int maximum = 100;
  int divisor = 1;
};

// The text shown for a value (clamped to the range first).
std::string shownText(const EditDisplay& d, int value);

// The value for a typed text: the text reduced to digits, '.' and '-' read
// as a number, converted by the kind's rule, clamped to the range.
int typedValue(const EditDisplay& d, const std::string& text);

// The value for a number in display units, converted as a typed number with
// no text (delays in cm or inch are then taken as milliseconds).
int valueFromNumber(const EditDisplay& d, double number);

// The value in display units (ms for the delay kinds).
double displayValue(const EditDisplay& d, int value);

// The number a typed text reads as: only '0'..'9', '.', '-' are kept.
double readTypedNumber(const std::string& text);

// printf-style formatting of one number; a format that does not hold exactly
// one floating-point conversion is replaced by "%g" (it would read a
// missing argument).
std::string formatNumber(const std::string& format, double v);

// Position of y in an ascending (or descending) table of n entries: n − 1 when
// y ≥ the last entry, else the first position i ≥ 1 whose entry reaches y,
// n − 1 when none does.
int findTablePosition(const double* table, int n, double y);

}  // namespace zr78
