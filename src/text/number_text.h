// Numbers as text, the same in every process locale: the program reads and
// writes a decimal point, never the decimal comma a UI or the environment may
// have set (Qt sets the process locale from the environment at start).
//
// One printf-format check, one printer, one reader: text tables, edit fields
// and captions all go through these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zr78 {

// The one conversion of a printf format, as in "Read Device Data:%5.0f %%".
struct Conversion {
  std::string_view text;  // the conversion as written, a view into the format: "%5.0f"
  size_t position = 0;    // where it starts in the format
  char type = 0;          // 'd', 'f', 'g', ...
  bool leftAlign = false;  // '-'
  bool plus = false;       // '+'
  bool space = false;      // ' '
  bool alternate = false;  // '#'
  bool zeroPad = false;    // '0'
  int width = 0;
  int precision = -1;  // none given
};

// The format's only conversion ("%%" is a literal '%'). Nothing when the
// format holds no conversion, more than one, or a '%' that starts no complete
// conversion: flags "-+ #0", a width, a precision, then one of
// "diouxXeEfFgGaAcspn" (length modifiers and '*' are refused).
std::optional<Conversion> singleConversion(std::string_view format);

inline bool isFloatConversion(const Conversion& c) {
  return std::string_view("fFeEgG").find(c.type) != std::string_view::npos;
}
inline bool isIntConversion(const Conversion& c) { return c.type == 'd' || c.type == 'i'; }

// printf of one number as in the "C" locale. A format that does not hold
// exactly one floating-point conversion (one integer conversion for
// formatInteger) is not trusted -- it would read an argument that is not
// there -- and the number is written alone, as by "%g" ("%d").
std::string formatNumber(std::string_view format, double value);
std::string formatInteger(std::string_view format, int value);

// The decimal number at the start of a text: "1.5", "-3", ".5", "12dB" -> 12;
// 0 when there is none. No exponent, blanks or '+' are read. A number too
// large for a double is infinite (signed), one too small is 0.
double readNumber(std::string_view text);

// The number a typed text stands for: every character but '0'..'9', '.' and
// '-' is dropped ("-3dB" -> -3, "R3" -> 3, "1.000mS" -> 1), then the rest is
// read with readNumber.
double typedNumber(std::string_view text);

}  // namespace zr78
