// The UI language: its index, the identifier message boxes and file dialogs
// are shown with, and the start-up choice between the stored value and the
// system locale.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace zr78 {

// The language index is also the position of the language's text in a table
// entry.
enum Language : int {
  kSimplifiedChinese = 0,
  kTraditionalChinese = 1,
  kEnglish = 2,
  kLanguageCount = 3,
};

constexpr bool isValidLanguage(int language) { return language >= 0 && language < kLanguageCount; }

// The program-wide language index. The application creates one and hands it
// to every window and to the worker. Only the UI thread writes it; the worker
// reads it when it shows a message, hence the atomic (a lone byte, no lock).
class LanguageIndex {
 public:
  // An out-of-range initial value gives English.
  explicit LanguageIndex(int initial = kEnglish)
      : index_(static_cast<uint8_t>(isValidLanguage(initial) ? initial : kEnglish)) {}

  int get() const { return index_.load(std::memory_order_relaxed); }
  // Returns false and keeps the current language when `language` is not 0..2.
  bool set(int language);

 private:
  std::atomic<uint8_t> index_;
};

// Windows language identifiers: 2052, 1028, 1033; English's for anything else.
int languageIdentifier(int language);

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

// The stored choice when it is 0..2; otherwise (negative: nothing stored, or
// above 2: a damaged ini) the locale rule: 0x0804 gives Simplified Chinese,
// 0x0404 and 0x0C04 Traditional Chinese, every other id English.
int chooseStartupLanguage(int storedValue, uint32_t localeId);

}  // namespace zr78
