// Text formatting with placeholders on arbitrary formats and numbers: never a
// crash or a read of an argument that is not there; a format that is
// accepted prints exactly what printf prints in the "C" locale (the fuzzer
// never sets a locale), so the locale-free printer is checked against the C
// library.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/number_text.h"
#include "text/text_format.h"

namespace {

using namespace zr78;

std::string printfOf(const std::string& format, auto value) {
  char buffer[4096];
  const int written = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
  if (written < 0 || static_cast<size_t>(written) >= sizeof buffer) std::abort();
  return std::string(buffer, static_cast<size_t>(written));
}

[[noreturn]] void differs(const std::string& format, const std::string& ours, const std::string& theirs) {
  std::fprintf(stderr, "format \"%s\": ours \"%s\", printf \"%s\"\n", format.c_str(), ours.c_str(), theirs.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int integer = input.ConsumeIntegral<int>();
  const double number = input.ConsumeFloatingPoint<double>();
  const std::string format = input.ConsumeRemainingBytesAsString();

  const std::string textInt = formatText(format, integer);
  const std::string textDouble = formatText(format, number);
  const std::string anyDouble = formatNumber(format, number);
  const std::string anyInt = formatInteger(format, integer);
  const auto conversion = singleConversion(format);
  if (!conversion) {
    if (!textInt.empty() || !textDouble.empty()) std::abort();
    return 0;
  }
  if (conversion->position + conversion->text.size() > format.size() || format[conversion->position] != '%')
    std::abort();
  // printf stops at a NUL; '#' with an integer conversion is undefined.
  if (format.find('\0') != std::string::npos) return 0;
  if (isFloatConversion(*conversion)) {
    if (const std::string theirs = printfOf(format, number); anyDouble != theirs) differs(format, anyDouble, theirs);
    if (!textDouble.empty() && textDouble != anyDouble) std::abort();
  } else if (isIntConversion(*conversion) && !conversion->alternate) {
    if (const std::string theirs = printfOf(format, integer); anyInt != theirs) differs(format, anyInt, theirs);
    if (!textInt.empty() && textInt != anyInt) std::abort();
  }
  return 0;
}
