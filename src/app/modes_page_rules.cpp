#include "app/modes_page_rules.h"

#include <algorithm>
#include <cstdio>

#include "text/fixed_texts.h"

namespace zr78 {

namespace {

constexpr char16_t kLowestNameUnit = 0x20;
constexpr char16_t kHighestNameUnit = 0x80;

}  // namespace

std::string modeSlotText(int mode) {
  const std::string format(kModeSlotFormat);
  char text[32];
  std::snprintf(text, sizeof text, format.c_str(), mode);
  return text;
}

int initialSlotItem(int32_t currentMode) {
  return currentMode >= 1 && currentMode <= kModeCount ? currentMode - 1 : 0;
}

std::optional<std::string> storableModeName(std::u16string_view typed) {
  const std::u16string_view taken = typed.substr(0, std::min<size_t>(typed.size(), kTypedNameLimit));
  std::string name;
  for (char16_t unit : taken) {
    if (unit < kLowestNameUnit || unit > kHighestNameUnit) return std::nullopt;
    name.push_back(static_cast<char>(unit));
  }
  name.resize(kModeNameUnits, ' ');
  return name;
}

std::u16string shownModeName(const ModeName& name) {
  std::u16string shown;
  for (int i = 0; i < kShownNameLimit; ++i) {
    const auto unit = static_cast<char16_t>(name.units[i].load());
    if (unit == 0) break;
    shown.push_back(unit);
  }
  while (shown.size() > 1 && shown.back() <= kLowestNameUnit) shown.pop_back();
  return shown;
}

}  // namespace zr78
