#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {
namespace {

using enum Language;

struct NamedTable {
  const char* name;
  std::span<const TextEntry> entries;
};

std::vector<NamedTable> allTables() {
  return {
      {"shared", sharedTextTable()},
      {"system window", windowTable<SystemWindowText>()},
      {"system page", windowTable<SystemPageText>()},
      {"preset page", windowTable<PresetPageText>()},
      {"routing", windowTable<RoutingText>()},
      {"channel strip", windowTable<ChannelStripText>()},
      {"worker", windowTable<WorkerText>()},
      {"main window", windowTable<MainWindowText>()},
      {"link editor", windowTable<LinkEditorText>()},
  };
}

// printf conversions and "%%", sorted, so two texts can be compared as
// multisets. A conversion is '%', flags/width/precision, then one letter.
std::vector<std::string> placeholders(std::string_view text) {
  std::vector<std::string> found;
  for (size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i)) {
    size_t end = i + 1;
    if (end < text.size() && text[end] == '%') {
      found.emplace_back("%%");
      i = end + 1;
      continue;
    }
    while (end < text.size() &&
           std::string_view("-+ #0123456789.").find(text[end]) != std::string_view::npos) {
      ++end;
    }
    if (end < text.size()) ++end;  // the conversion letter
    found.emplace_back(text.substr(i, end - i));
    i = end;
  }
  std::sort(found.begin(), found.end());
  return found;
}

long lineBreaks(std::string_view text) { return std::count(text.begin(), text.end(), '\n'); }
long carriageReturns(std::string_view text) { return std::count(text.begin(), text.end(), '\r'); }

TEST(TextTables, EveryEntryHasThreeTextsWithTheSamePlaceholders) {
  for (const NamedTable& table : allTables()) {
    for (size_t i = 0; i < table.entries.size(); ++i) {
      SCOPED_TRACE(std::string(table.name) + " entry " + std::to_string(i));
      const TextEntry& entry = table.entries[i];
      for (std::string_view text : entry) EXPECT_FALSE(text.empty());
      const auto english = placeholders(entryText(entry, kEnglish));
      EXPECT_EQ(placeholders(entryText(entry, kSimplifiedChinese)), english);
      EXPECT_EQ(placeholders(entryText(entry, kTraditionalChinese)), english);
    }
  }
}

TEST(TextTables, ChineseTextsBreakLinesLikeTheEnglishText) {
  // The two EQ mode buttons put their Chinese text on two lines; the English
  // abbreviation fits on one.
  const auto twoLineChineseOnly = [](const NamedTable& table, size_t i) {
    return table.entries.data() == sharedTextTable().data() && (i == kTextGeq || i == kTextPeq);
  };
  for (const NamedTable& table : allTables()) {
    for (size_t i = 0; i < table.entries.size(); ++i) {
      SCOPED_TRACE(std::string(table.name) + " entry " + std::to_string(i));
      const TextEntry& entry = table.entries[i];
      EXPECT_EQ(lineBreaks(entryText(entry, kSimplifiedChinese)), lineBreaks(entryText(entry, kTraditionalChinese)));
      EXPECT_EQ(carriageReturns(entryText(entry, kSimplifiedChinese)),
                carriageReturns(entryText(entry, kTraditionalChinese)));
      if (twoLineChineseOnly(table, i)) {
        EXPECT_EQ(lineBreaks(entryText(entry, kEnglish)), 0);
        EXPECT_EQ(lineBreaks(entryText(entry, kSimplifiedChinese)), 1);
        continue;
      }
      EXPECT_EQ(lineBreaks(entryText(entry, kSimplifiedChinese)), lineBreaks(entryText(entry, kEnglish)));
      EXPECT_EQ(carriageReturns(entryText(entry, kSimplifiedChinese)), carriageReturns(entryText(entry, kEnglish)));
    }
  }
}

TEST(TextTables, TextsTheSameInEveryLanguageAreIdentical) {
  for (TextId id : {kTextLanguageLabel, kTextPhase0, kTextPhase180}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(sharedText(id, kSimplifiedChinese), sharedText(id, kEnglish));
    EXPECT_EQ(sharedText(id, kTraditionalChinese), sharedText(id, kEnglish));
  }
}

TEST(TextTables, ModeNameAndFileNameLabelsDifferOnlyInChinese) {
  EXPECT_EQ(sharedText(kTextModeNameLabel, kEnglish), "Name:");
  EXPECT_EQ(sharedText(kTextFileNameLabel, kEnglish), "Name:");
  EXPECT_NE(sharedText(kTextModeNameLabel, kSimplifiedChinese),
            sharedText(kTextFileNameLabel, kSimplifiedChinese));
  EXPECT_NE(sharedText(kTextModeNameLabel, kTraditionalChinese),
            sharedText(kTextFileNameLabel, kTraditionalChinese));
}

struct EnglishRow {
  int entry;
  std::string_view english;
};

TEST(TextTables, EnglishTextsAreKeptByteForByte) {
  const EnglishRow rows[] = {
      {0, "The Program is Running!"},
      {9, "NO.:"},
      {20, "Read Device Data:%5.0f %%"},
      {24, "Updown Device:%0.0f %%"},
      {27, "Update Windown ..."},
      {28, "Onling_Update:%5.0f %%"},
      {33, "The first %d instruction error"},
      {39, "No files\u3002"},
      {40, "The data has a password ."},
      {41, "Wrong file version\u3002"},
      {43, "File already exists!\n Whether or not covered!"},
      {44, "Delete failed.\n no files!"},
      {57, "The file was not communication updates!Please make sure the upgrade again!"},
      {61, "Update failed!\r\nPlease run the software as an administrator!"},
      {72, "Basis CH5 after right"},
      {108, "Link L&R"},
      {123, "bassel"},
      {125, "Mode%d"},
      {166, "FL-M & WF"},
      {185, "  Auto"},
      {187, "   Mem"},
      {189, "Tuner: The device only supports %d to 8 modes of tuning and saving"},
  };
  for (const EnglishRow& row : rows) EXPECT_EQ(sharedText(static_cast<TextId>(row.entry), kEnglish), row.english) << row.entry;
}

struct ChineseRow {
  int entry;
  std::string_view simplified;
  std::string_view traditional;
};

TEST(TextTables, QuotedChineseTextsAreKeptByteForByte) {
  const ChineseRow rows[] = {
      {0, "程序正在运行!", "程序正在運行!"},
      {1, "已连接", "已連接"},
      {2, "连接中", "連接中"},
      {3, "未连接", "未連接"},
      {4, "语言选择", "語言選擇"},
      {7, "模式:", "模式:"},
      {11, "保存模式", "保存模式"},
      {12, "调用模式", "調用模式"},
      {13, "电脑储存模式", "電腦儲存模式"},
      {27, "更新窗口中...", "更新窗口中..."},
      {39, "无文件。", "無文件。"},
      {47, "警告!", "警告"},
      {49, "加密模式无法读取!", "加密模式無法讀取!"},
      {77, "图示\r\n均衡", "圖示\r\n均衡"},
      {78, "参数\r\n均衡", "參數\r\n均衡"},
  };
  for (const ChineseRow& row : rows) {
    EXPECT_EQ(sharedText(static_cast<TextId>(row.entry), kSimplifiedChinese), row.simplified) << row.entry;
    EXPECT_EQ(sharedText(static_cast<TextId>(row.entry), kTraditionalChinese), row.traditional) << row.entry;
  }
}

TEST(TextTables, WorkerTextsThatStandInTheSharedTableMatchIt) {
  int shared = 0;
  for (const TextEntry& worker : windowTable<WorkerText>()) {
    for (const TextEntry& entry : sharedTextTable()) {
      if (entryText(entry, kEnglish) != entryText(worker, kEnglish)) continue;
      ++shared;
      EXPECT_EQ(entry, worker) << entryText(worker, kEnglish);
    }
  }
  EXPECT_EQ(shared, 11);  // all but the scene update, the recall failure and "Call"
}

TEST(TextTables, ChannelStripAndRoutingShareTheirLabels) {
  for (Language language : kLanguages) {
    EXPECT_EQ(windowText(ChannelStripText::kLow, language),
              windowText(RoutingText::kLow, language));
    EXPECT_EQ(windowText(ChannelStripText::kOutChannel, language),
              windowText(RoutingText::kOutChannel, language));
    // Same Chinese, different English.
    EXPECT_EQ(windowText(ChannelStripText::kHiLevel, language) ==
                  windowText(RoutingText::kHigh, language),
              language != kEnglish);
  }
}

TEST(TextTables, OutOfRangeLookupsGiveAnEmptyText) {
  struct Case {
    const char* name;
    int entry;
    int language;
  };
  const Case cases[] = {
      {"entry below 0", -1, languageIndex(kEnglish)},
      {"entry past the table", kTextCount, languageIndex(kEnglish)},
      {"language past English", 0, kLanguageCount},
      {"language far past English", 0, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string_view text = "unset";
    EXPECT_DEBUG_DEATH(
        text = sharedText(static_cast<TextId>(c.entry), static_cast<Language>(c.language)),
        "out of range");
#ifdef NDEBUG
    EXPECT_TRUE(text.empty());
#endif
  }
#ifdef NDEBUG
  EXPECT_TRUE(windowText(static_cast<RoutingText>(7), kEnglish).empty());
#endif
}

}  // namespace
}  // namespace zr78
