#include "text/shared_texts.h"

#include "text/shared_text_rows.h"

namespace zr78 {
namespace {

constexpr auto kSharedTable = orderedTable(text_rows::kShared);
static_assert(kSharedTable.size() == kTextCount, "one row per TextId");

}  // namespace

std::span<const TextEntry> sharedTextTable() { return kSharedTable; }

std::string_view sharedText(TextId entry, Language language) {
  return textIn(kSharedTable, entry, language);
}

}  // namespace zr78
