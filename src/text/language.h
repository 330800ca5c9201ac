// The UI language: its index, the identifier message boxes and file dialogs
// are shown with, and the start-up choice between the stored value and the
// system locale.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zr78 {

// The UI languages. Each has an index: the position of its text in a table
// entry, the value stored in the settings file and sent with
// MSG_LANGUAGE_REFRESH. Conversions to and from the index are explicit.
enum class Language : uint8_t {
  kSimplifiedChinese = 0,
  kTraditionalChinese = 1,
  kEnglish = 2,
};
constexpr int kLanguageCount = 3;
constexpr std::array<Language, kLanguageCount> kLanguages = {
    Language::kSimplifiedChinese, Language::kTraditionalChinese, Language::kEnglish};

constexpr int languageIndex(Language language) { return static_cast<int>(language); }
// Nothing for an index other than 0, 1, 2.
constexpr std::optional<Language> languageFromIndex(int index) {
  if (index < 0 || index >= kLanguageCount) return std::nullopt;
  return static_cast<Language>(index);
}

// The program-wide language. The application creates one and hands it to
// every window and to the worker. Only the UI thread writes it; the worker
// reads it when it shows a message, hence the atomic (a lone byte, no lock).
class LanguageIndex {
 public:
  explicit LanguageIndex(Language initial = Language::kEnglish) : language_(initial) {}

  Language get() const { return language_.load(std::memory_order_relaxed); }
  void set(Language language) { language_.store(language, std::memory_order_relaxed); }

 private:
  std::atomic<Language> language_;
};

// Windows language identifiers: 2052, 1028, 1033 (English's for a value that
// names no language).
int languageIdentifier(Language language);

// Locale identifiers the start-up rule knows by name.
constexpr uint32_t kLocaleChinaSimplified = 0x0804;
constexpr uint32_t kLocaleTaiwan = 0x0404;
constexpr uint32_t kLocaleHongKong = 0x0C04;
constexpr uint32_t kLocaleJapan = 0x0411;
constexpr uint32_t kLocaleUnitedStates = 0x0409;

// A POSIX locale name ("zh_TW.UTF-8", "zh_Hans_CN", "en_US@euro", "C") as a
// Windows locale identifier: Simplified Chinese regions 0x0804, Taiwan
// 0x0404, Hong Kong and Macau 0x0C04, Japan 0x0411, anything else 0x0409.
uint32_t localeIdFromName(std::string_view name);

// The system default locale identifier. Windows asks the system; elsewhere
// the first non-empty of LC_ALL, LC_MESSAGES, LANG, then the user's
// std::locale("") name, mapped by localeIdFromName.
uint32_t systemLocaleId();

// The stored index when it is 0..2; otherwise (negative: nothing stored, or
// above 2: a damaged ini) the locale rule: 0x0804 gives Simplified Chinese,
// 0x0404 and 0x0C04 Traditional Chinese, every other id English.
Language chooseStartupLanguage(int storedIndex, uint32_t localeId);

}  // namespace zr78
