#include "text/language.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <locale>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zr78 {
namespace {

struct LocaleName {
  std::string_view name;  // lower case, '_' between the parts
  uint32_t localeId;
};

// Matched in order against the language[_script][_territory] part of a
// locale name; a key matches the whole name or a prefix ending before a '_',
// so the longer keys come first. Plain "zh" counts as Simplified Chinese, as
// it does on Windows.
constexpr std::array<LocaleName, 12> kLocaleNames = {{
    {"zh_cn", kLocaleChinaSimplified},
    {"zh_sg", kLocaleChinaSimplified},
    {"zh_tw", kLocaleTaiwan},
    {"zh_hk", kLocaleHongKong},
    {"zh_mo", kLocaleHongKong},
    {"zh_hans", kLocaleChinaSimplified},
    {"zh_hant_hk", kLocaleHongKong},
    {"zh_hant_mo", kLocaleHongKong},
    {"zh_hant", kLocaleTaiwan},
    {"zh", kLocaleChinaSimplified},
    {"ja_jp", kLocaleJapan},
    {"ja", kLocaleJapan},
}};

// "zh-Hant-HK.UTF-8@x" -> "zh_hant_hk": drop codeset and modifier, unify the
// separator and the case.
std::string normalizedLocaleName(std::string_view name) {
  const size_t end = name.find_first_of(".@");
  std::string out(name.substr(0, end));
  for (char& c : out) {
    c = c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

bool matchesKey(std::string_view name, std::string_view key) {
  return name.starts_with(key) && (name.size() == key.size() || name[key.size()] == '_');
}

#ifndef _WIN32
std::string localeNameFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  try {
    return std::locale("").name();
  } catch (const std::runtime_error&) {
    return {};  // the environment names a locale that is not installed
  }
}
#endif

}  // namespace

int languageIdentifier(Language language) {
  constexpr std::array<int, kLanguageCount> kIdentifiers = {2052, 1028, 1033};
  const int index = languageIndex(language);
  return languageFromIndex(index) ? kIdentifiers[static_cast<size_t>(index)] : 1033;
}

uint32_t localeIdFromName(std::string_view name) {
  const std::string normalized = normalizedLocaleName(name);
  for (const LocaleName& entry : kLocaleNames) {
    if (matchesKey(normalized, entry.name)) return entry.localeId;
  }
  return kLocaleUnitedStates;
}

uint32_t systemLocaleId() {
#ifdef _WIN32
  return static_cast<uint32_t>(GetSystemDefaultLCID());
#else
  return localeIdFromName(localeNameFromEnvironment());
#endif
}

Language chooseStartupLanguage(int storedIndex, uint32_t localeId) {
  if (const std::optional<Language> stored = languageFromIndex(storedIndex)) return *stored;
  switch (localeId) {
    case kLocaleChinaSimplified:
      return Language::kSimplifiedChinese;
    case kLocaleTaiwan:
    case kLocaleHongKong:
      return Language::kTraditionalChinese;
    default:
      return Language::kEnglish;
  }
}

}  // namespace zr78
