#include "app/top_band_rules.h"

#include <gtest/gtest.h>

#include "text/language.h"

namespace zr78 {
namespace {

using enum Language;

TEST(TopBandRulesTest, VolumeWordAndBack) {
  struct Case {
    const char* name;
    double db;
    int32_t word;
    const char* caption;
  } cases[] = {
      {"off", -60, 500, "Volume:OFF"},
      {"just above off", -59, 541, "Volume:-59"},
      {"middle", -20, 580, "Volume:-20"},
      {"full", 0, 600, "Volume:0"},
      {"fraction truncates", -20.7, 579, "Volume:-21"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(volumeWord(c.db), c.word) << c.name;
    EXPECT_EQ(volumeCaption(c.db, kEnglish), c.caption) << c.name;
  }
}

TEST(TopBandRulesTest, DeviceWordsBecomeSliderValues) {
  struct Case {
    int32_t word;
    int db;
  } cases[] = {{580, -20}, {500, -60}, {600, 0}, {0, -60}, {540, -60}, {1080, -20}};
  for (const auto& c : cases) EXPECT_EQ(volumeFromWord(c.word), c.db) << c.word;
}

TEST(TopBandRulesTest, StatusTextsInEveryLanguage) {
  for (Language language : kLanguages) {
    for (LinkStatus s : {LinkStatus::Connected, LinkStatus::Connecting, LinkStatus::Unconnected}) {
      EXPECT_EQ(linkStatusOfText(linkStatusText(s, language)), s) << languageIndex(language);
    }
  }
  EXPECT_EQ(linkStatusOfText(""), LinkStatus::Connecting);
  EXPECT_EQ(linkStatusOfText("system"), std::nullopt);
  EXPECT_EQ(linkStatusText(LinkStatus::Connected, kTraditionalChinese), "已連接");
  EXPECT_EQ(linkStatusOfCode(0), LinkStatus::Connected);
  EXPECT_EQ(linkStatusOfCode(3), LinkStatus::Connecting);
}

TEST(TopBandRulesTest, ButtonTexts) {
  EXPECT_EQ(topButtonText(5, kEnglish, false), "system");
  EXPECT_EQ(topButtonText(6, kEnglish, false), "Mixer");
  EXPECT_EQ(topButtonText(3, kEnglish, false), "   Mem");
  EXPECT_EQ(topButtonText(7, kEnglish, false), "DSP");
  EXPECT_EQ(topButtonText(7, kEnglish, true), "Amplifier");
  EXPECT_EQ(topButtonText(0, kEnglish, false), "");
  EXPECT_EQ(topButtonText(12, kEnglish, false), "");
}

}  // namespace
}  // namespace zr78
