// The Chinese wording of the tables: full stops after Chinese text are
// ideographic, and the rows that once copied an English slip or lost their
// unit say what the control does.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {
namespace {

using enum Language;

// The code point that ends just before byte `end` of UTF-8 text.
uint32_t codePointBefore(std::string_view text, size_t end) {
  size_t start = end;
  while (start > 0 && (static_cast<uint8_t>(text[start - 1]) & 0xC0) == 0x80) --start;
  if (start == 0) return 0;
  --start;
  const auto lead = static_cast<uint8_t>(text[start]);
  const size_t length = end - start;
  uint32_t cp = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
  for (size_t k = start + 1; k < end; ++k) cp = (cp << 6) | (static_cast<uint8_t>(text[k]) & 0x3F);
  return cp;
}

bool isHan(uint32_t cp) { return cp >= 0x4E00 && cp <= 0x9FFF; }

// An ASCII "." right after a Chinese character that does not start "...".
bool hasAsciiFullStopAfterChinese(std::string_view text) {
  for (size_t i = text.find('.'); i != std::string_view::npos; i = text.find('.', i + 1)) {
    const bool ellipsis = i + 1 < text.size() && text[i + 1] == '.';
    if (!ellipsis && isHan(codePointBefore(text, i))) return true;
  }
  return false;
}

TEST(Wording, ChineseSentencesEndWithTheIdeographicFullStop) {
  EXPECT_TRUE(hasAsciiFullStopAfterChinese("删除失败.\n"));
  EXPECT_FALSE(hasAsciiFullStopAfterChinese("更新窗口中..."));
  EXPECT_FALSE(hasAsciiFullStopAfterChinese("The data has a password ."));
  const std::span<const TextEntry> tables[] = {sharedTextTable(), windowTable<SystemWindowText>(),
                                               windowTable<SystemPageText>(), windowTable<WorkerText>(),
                                               windowTable<ChannelStripText>(), windowTable<RoutingText>()};
  for (const auto& table : tables)
    for (size_t e = 0; e < table.size(); ++e)
      for (Language language : {kSimplifiedChinese, kTraditionalChinese})
        EXPECT_FALSE(hasAsciiFullStopAfterChinese(table[e][languageIndex(language)]))
            << "entry " << e << ": " << table[e][languageIndex(language)];
}

TEST(Wording, RowsThatSayWhatTheirControlDoes) {
  const struct {
    TextId entry;
    std::string_view simplified, traditional;
  } rows[] = {
      {kTextAskResetEq, "是否重置EQ", "是否重置EQ"},
      {kTextEquipmentShutDown, "设备已关闭调节!", "裝置已關閉調整!"},
      {kTextBasisCh5, "以CH5为基准", "以CH5為基準"},
      {kTextBasisCh6, "以CH6为基准", "以CH6為基準"},
      {kTextExit, "取消", "取消"},
      {kTextDbuLabel, "阈值(dBu):", "門檻值(dBu):"},
      // The family list is 61 design pixels wide for its text: the full name
      // does not fit in it.
      {kTextLinkwitzRiley, "L-R", "L-R"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(sharedText(row.entry, kSimplifiedChinese), row.simplified) << row.entry;
    EXPECT_EQ(sharedText(row.entry, kTraditionalChinese), row.traditional) << row.entry;
  }
}

}  // namespace
}  // namespace zr78
