#include "text/text_format.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "text/number_text.h"

namespace zr78 {

std::string formatText(std::string_view format, int value) {
  const std::optional<Conversion> conversion = singleConversion(format);
  if (!conversion || conversion->text != kIntConversion) return {};
  return formatInteger(format, value);
}

std::string formatText(std::string_view format, double value) {
  const std::optional<Conversion> conversion = singleConversion(format);
  if (!conversion || std::find(std::begin(kDoubleConversions), std::end(kDoubleConversions),
                               conversion->text) == std::end(kDoubleConversions)) {
    return {};
  }
  return formatNumber(format, value);
}

}  // namespace zr78
