#include "text/text_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {
namespace {

using enum Language;

TEST(TextFormat, FillsTheTablesPlaceholders) {
  struct Case {
    const char* name;
    std::string result;
    std::string expected;
  };
  const Case cases[] = {
      {"progress title", formatText(sharedText(kTextReadDeviceData, kEnglish), 42.4),
       "Read Device Data:   42 %"},
      {"progress title, Chinese", formatText(sharedText(kTextReadDeviceData, kSimplifiedChinese), 100.0),
       "读取设备数据:  100 %"},
      {"no width", formatText(sharedText(kTextUpdownDevice, kEnglish), 7.6), "Updown Device:8 %"},
      {"mode number", formatText(sharedText(kTextModeNumber, kTraditionalChinese), 3), "模式3"},
      {"routing row", formatText(windowText(RoutingText::kHigh, kEnglish), 4), "High4"},
      {"negative int", formatText(sharedText(kTextInstructionError, kEnglish), -1),
       "The first -1 instruction error"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
}

TEST(TextFormat, EveryTableTextWithAPlaceholderCanBeFilled) {
  std::vector<std::span<const TextEntry>> tables = {sharedTextTable(),
                                                    windowTable<SystemWindowText>(),
                                                    windowTable<SystemPageText>(),
                                                    windowTable<PresetPageText>(),
                                                    windowTable<RoutingText>(),
                                                    windowTable<ChannelStripText>(),
                                                    windowTable<WorkerText>(),
                                                    windowTable<MainWindowText>(),
                                                    windowTable<LinkEditorText>()};
  int filled = 0;
  for (const auto& table : tables) {
    for (const TextEntry& entry : table) {
      for (std::string_view text : entry) {
        if (text.find('%') == std::string_view::npos) continue;
        const bool isInt = text.find("%d") != std::string_view::npos;
        const std::string out = isInt ? formatText(text, 5) : formatText(text, 5.0);
        EXPECT_NE(out.find('5'), std::string::npos) << text;
        EXPECT_EQ(out.find("%d"), std::string::npos) << text;
        EXPECT_EQ(out.find("%%"), std::string::npos) << text;
        ++filled;
      }
    }
  }
  EXPECT_GT(filled, 0);
}

TEST(TextFormat, RefusesFormatsTheTablesDoNotUse) {
  struct Case {
    const char* name;
    std::string result;
  };
  const Case cases[] = {
      {"string conversion", formatText("%s", 1.0)},
      {"write-back conversion", formatText("abc%n", 1)},
      {"two placeholders", formatText("%d and %d", 1)},
      {"no placeholder", formatText("Volume", 1)},
      {"stray percent at the end", formatText("%d 100%", 1)},
      {"int format with a double", formatText("Mode%d", 1.0)},
      {"double format with an int", formatText("Read:%5.0f %%", 1)},
      {"long conversion", formatText("%ld", 1)},
      {"other precision", formatText("%0.3f", 1.0)},
      {"escaped percent only", formatText("%%d", 1)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, "") << c.name;
}

}  // namespace
}  // namespace zr78
