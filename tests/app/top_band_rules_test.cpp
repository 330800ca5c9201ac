#include "app/top_band_rules.h"

#include <gtest/gtest.h>

#include "sync/link_events.h"
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
  struct Case {
    LinkStatusShown status;
    Language language;
    const char* text;
  } cases[] = {
      {LinkStatusShown::Connected, Language::kEnglish, "connected"},
      {LinkStatusShown::Connecting, Language::kEnglish, "connecting"},
      {LinkStatusShown::Unconnected, Language::kEnglish, "unconnected"},
      {LinkStatusShown::Connected, Language::kTraditionalChinese, "已連接"},
      {LinkStatusShown::Connecting, Language::kSimplifiedChinese, "连接中"},
      {LinkStatusShown::Unconnected, Language::kSimplifiedChinese, "未连接"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(linkStatusText(c.status, c.language), c.text) << languageIndex(c.language) << " " << c.text;
}

// Code 4 of MSG_DEVICE_NOTIFY: only Connected shows as connected; the thread
// start, connecting and any value the window does not know show "connecting".
TEST(TopBandRulesTest, LinkStatusShown) {
  EXPECT_EQ(static_cast<int>(LinkStatus::Connected), 0);
  EXPECT_EQ(static_cast<int>(LinkStatus::Connecting), 1);
  EXPECT_EQ(static_cast<int>(LinkStatus::ThreadStart), 3);
  EXPECT_EQ(linkStatusShown(LinkStatus::Connected), LinkStatusShown::Connected);
  for (LinkStatus s : {LinkStatus::Connecting, LinkStatus::ThreadStart, static_cast<LinkStatus>(7)})
    EXPECT_EQ(linkStatusShown(s), LinkStatusShown::Connecting) << static_cast<int>(s);
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
