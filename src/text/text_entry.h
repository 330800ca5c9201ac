// One table entry: the same text in the three languages, in language-index
// order (Simplified Chinese, Traditional Chinese, English). Texts are UTF-8;
// "\n" and "\r\n" are real line breaks.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <span>
#include <string_view>

#include "text/language.h"

namespace zr78 {

using TextEntry = std::array<std::string_view, kLanguageCount>;

// One entry's text in `language`; an empty view for a value that names no
// language (only a cast can make one).
constexpr std::string_view entryText(const TextEntry& entry, Language language) {
  return languageFromIndex(languageIndex(language))
             ? entry[static_cast<size_t>(languageIndex(language))]
             : std::string_view{};
}

// The text of entry number `entry` in `language`; an empty view for an entry
// or language out of range (a caller's bug, caught by the assert in debug
// builds).
inline std::string_view textIn(std::span<const TextEntry> table, int entry, Language language) {
  const bool valid = entry >= 0 && static_cast<size_t>(entry) < table.size() &&
                     languageFromIndex(languageIndex(language));
  assert(valid && "text entry or language out of range");
  return valid ? entryText(table[static_cast<size_t>(entry)], language) : std::string_view{};
}

// A table row as written in the source: the entry's id next to its texts, so
// a row can never drift away from its number.
template <typename Id>
struct NumberedEntry {
  Id id;
  TextEntry text;
};

// The rows' texts indexed by id. Rows must be listed in id order 0, 1, 2, ...
// with no gap; a row out of place fails the build.
template <typename Id, size_t N>
constexpr std::array<TextEntry, N> orderedTable(const NumberedEntry<Id> (&rows)[N]) {
  std::array<TextEntry, N> table{};
  for (size_t i = 0; i < N; ++i) {
    if (static_cast<size_t>(rows[i].id) != i) throw "text table row out of order";
    table[i] = rows[i].text;
  }
  return table;
}

}  // namespace zr78
