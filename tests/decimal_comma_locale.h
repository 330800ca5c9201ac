// Puts the process into a locale with a decimal comma (de_DE.UTF-8, which
// scripts/bootstrap installs) for the life of the object: the C locale and
// the C++ global locale; the previous ones come back at the end. A test that
// must hold under it asserts active() -- a missing locale fails the test, it
// never skips it.
#pragma once

#include <clocale>
#include <locale>
#include <stdexcept>
#include <string>

namespace zr78::test {

class DecimalCommaLocale {
 public:
  static constexpr const char* kName = "de_DE.UTF-8";

  DecimalCommaLocale() : previousC_(std::setlocale(LC_ALL, nullptr)) {
    try {
      previous_ = std::locale::global(std::locale(kName));
    } catch (const std::runtime_error&) {
      return;  // not installed: active() says so
    }
    set_ = std::setlocale(LC_ALL, kName) != nullptr;
  }
  ~DecimalCommaLocale() {
    std::locale::global(previous_);
    std::setlocale(LC_ALL, previousC_.c_str());
  }
  DecimalCommaLocale(const DecimalCommaLocale&) = delete;
  DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

  // The locale is set and printf really writes a comma: the test means something.
  bool active() const { return set_ && std::string(std::localeconv()->decimal_point) == ","; }

 private:
  std::string previousC_;
  std::locale previous_;
  bool set_ = false;
};

inline constexpr const char* kNoDecimalCommaLocale =
    "the de_DE.UTF-8 locale is not installed; scripts/bootstrap installs it";

}  // namespace zr78::test
