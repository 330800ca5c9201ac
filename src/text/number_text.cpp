#include "text/number_text.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace zr78 {
namespace {

constexpr std::string_view kConversionTypes = "diouxXeEfFgGaAcspn";
constexpr int kMaxWidth = 512;  // a width or precision beyond this is refused

// Reads the conversion starting at format[at] == '%'; nothing when it is
// incomplete or uses what the checker refuses.
std::optional<Conversion> readConversion(std::string_view format, size_t at) {
  Conversion c;
  c.position = at;
  size_t i = at + 1;
  for (; i < format.size(); ++i) {
    const char f = format[i];
    if (f == '-') c.leftAlign = true;
    else if (f == '+') c.plus = true;
    else if (f == ' ') c.space = true;
    else if (f == '#') c.alternate = true;
    else if (f == '0') c.zeroPad = true;
    else break;
  }
  auto digits = [&](int& out) {  // false when the number is absurdly large
    out = 0;
    for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) {
      out = out * 10 + (format[i] - '0');
      if (out > kMaxWidth) return false;
    }
    return true;
  };
  if (!digits(c.width)) return std::nullopt;
  if (i < format.size() && format[i] == '.') {
    ++i;
    if (!digits(c.precision)) return std::nullopt;
  }
  if (i >= format.size() || kConversionTypes.find(format[i]) == std::string_view::npos) {
    return std::nullopt;
  }
  c.type = format[i];
  c.text = format.substr(at, i - at + 1);
  return c;
}

std::string charsOf(double value, std::chars_format style, int precision) {
  // DBL_MAX in fixed notation is 309 digits, then the point and up to
  // kMaxWidth decimals.
  std::array<char, 309 + 1 + kMaxWidth + 32> buffer;
  const auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, style, precision);
  if (error != std::errc()) return {};
  return std::string(buffer.data(), end);
}

// printf's %g: %e's exponent X with precision P decides between %f with
// precision P − 1 − X and %e with P − 1; trailing zeros go unless '#'.
std::string generalDigits(double magnitude, int precision, bool alternate) {
  const int p = precision == 0 ? 1 : precision;
  std::string text = charsOf(magnitude, std::chars_format::scientific, p - 1);
  const size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  if (p > exponent && exponent >= -4) text = charsOf(magnitude, std::chars_format::fixed, p - 1 - exponent);
  const size_t mark = text.find('e');
  std::string mantissa = text.substr(0, mark);
  const std::string tail = mark == std::string::npos ? std::string() : text.substr(mark);
  if (alternate) {
    if (mantissa.find('.') == std::string::npos) mantissa += '.';
  } else if (mantissa.find('.') != std::string::npos) {
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  return mantissa + tail;
}

// The digits of |value| for a floating-point conversion, without sign.
std::string floatDigits(const Conversion& c, double magnitude) {
  const int precision = c.precision < 0 ? 6 : c.precision;
  const bool upper = std::isupper(static_cast<unsigned char>(c.type)) != 0;
  std::string text;
  if (std::isnan(magnitude)) {
    text = "nan";
  } else if (std::isinf(magnitude)) {
    text = "inf";
  } else {
    switch (std::tolower(static_cast<unsigned char>(c.type))) {
      case 'e':
        text = charsOf(magnitude, std::chars_format::scientific, precision);
        if (c.alternate && precision == 0) text.insert(text.find('e'), ".");
        break;
      case 'g':
        text = generalDigits(magnitude, precision, c.alternate);
        break;
      default:  // 'f'
        text = charsOf(magnitude, std::chars_format::fixed, precision);
        if (c.alternate && precision == 0) text += '.';
        break;
    }
  }
  if (upper) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  }
  return text;
}

std::string integerDigits(const Conversion& c, long long magnitude) {
  std::array<char, 24> buffer;
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude).ptr;
  std::string text(buffer.data(), end);
  if (c.precision >= 0) {
    if (c.precision == 0 && magnitude == 0) text.clear();
    if (static_cast<int>(text.size()) < c.precision) text.insert(0, c.precision - text.size(), '0');
  }
  return text;
}

// Sign and padding around the digits, as printf places them.
std::string padded(const Conversion& c, bool negative, std::string digits, bool zeroAllowed) {
  const std::string sign = negative ? "-" : c.plus ? "+" : c.space ? " " : "";
  const size_t length = sign.size() + digits.size();
  const size_t fill = c.width > static_cast<int>(length) ? c.width - length : 0;
  if (c.leftAlign) return sign + digits + std::string(fill, ' ');
  if (c.zeroPad && zeroAllowed) return sign + std::string(fill, '0') + digits;
  return std::string(fill, ' ') + sign + digits;
}

// The format's text around its conversion, "%%" written as '%'.
std::string literal(std::string_view part) {
  std::string out;
  for (size_t i = 0; i < part.size(); ++i) {
    out += part[i];
    if (part[i] == '%' && i + 1 < part.size() && part[i + 1] == '%') ++i;
  }
  return out;
}

std::string around(std::string_view format, const Conversion& c, const std::string& number) {
  return literal(format.substr(0, c.position)) + number +
         literal(format.substr(c.position + c.text.size()));
}

Conversion plain(char type) {
  Conversion c;
  c.type = type;
  c.text = type == 'g' ? "%g" : "%d";
  return c;
}

}  // namespace

std::optional<Conversion> singleConversion(std::string_view format) {
  std::optional<Conversion> found;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    std::optional<Conversion> c = readConversion(format, i);
    if (!c || found) return std::nullopt;
    found = c;
    i += c->text.size() - 1;
  }
  return found;
}

std::string formatNumber(std::string_view format, double value) {
  std::optional<Conversion> c = singleConversion(format);
  const bool trusted = c && isFloatConversion(*c);
  const Conversion conversion = trusted ? *c : plain('g');
  const std::string number = padded(conversion, std::signbit(value),
                                    floatDigits(conversion, std::fabs(value)), std::isfinite(value));
  return trusted ? around(format, conversion, number) : number;
}

std::string formatInteger(std::string_view format, int value) {
  std::optional<Conversion> c = singleConversion(format);
  const bool trusted = c && isIntConversion(*c);
  const Conversion conversion = trusted ? *c : plain('d');
  const long long v = value;
  const std::string number = padded(conversion, v < 0, integerDigits(conversion, v < 0 ? -v : v),
                                    conversion.precision < 0);
  return trusted ? around(format, conversion, number) : number;
}

double readNumber(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                            std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    // Beyond a double: a whole part with a non-zero digit overflowed, a bare
    // fraction underflowed.
    const std::string_view number = text.substr(0, static_cast<size_t>(end - text.data()));
    const bool negative = number.starts_with('-');
    const std::string_view whole = number.substr(0, number.find('.'));
    const bool huge = whole.find_first_of("123456789") != std::string_view::npos;
    value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
  }
  return error == std::errc() ? value : 0.0;
}

double typedNumber(std::string_view text) {
  std::string kept;
  for (char ch : text) {
    if ((ch >= '0' && ch <= '9') || ch == '.' || ch == '-') kept += ch;
  }
  return readNumber(kept);
}

}  // namespace zr78
