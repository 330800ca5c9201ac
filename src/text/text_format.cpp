#include "text/text_format.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

namespace zr78 {
namespace {

// The single conversion of `format` ("%5.0f"), skipping "%%"; nothing when
// there is none, more than one, or a '%' that starts no complete conversion.
std::optional<std::string_view> singleConversion(std::string_view format) {
  constexpr std::string_view kConversionEnd = "diouxXeEfFgGaAcspn";
  std::optional<std::string_view> found;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    const size_t end = format.find_first_of(kConversionEnd, i + 1);
    if (end == std::string_view::npos || found) return std::nullopt;
    found = format.substr(i, end - i + 1);
    i = end;
  }
  return found;
}

template <typename T>
std::string formatChecked(std::string_view format, T value) {
  const std::string terminated(format);  // snprintf needs the terminator
  const int length = std::snprintf(nullptr, 0, terminated.c_str(), value);
  if (length < 0) return {};
  std::string out(static_cast<size_t>(length), '\0');
  std::snprintf(out.data(), out.size() + 1, terminated.c_str(), value);
  return out;
}

}  // namespace

std::string formatText(std::string_view format, int value) {
  if (singleConversion(format) != kIntConversion) return {};
  return formatChecked(format, value);
}

std::string formatText(std::string_view format, double value) {
  const std::optional<std::string_view> conversion = singleConversion(format);
  if (!conversion || std::find(std::begin(kDoubleConversions), std::end(kDoubleConversions),
                               *conversion) == std::end(kDoubleConversions)) {
    return {};
  }
  return formatChecked(format, value);
}

}  // namespace zr78
