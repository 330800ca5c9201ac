#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include "controls/font_map.h"

namespace zr78 {
namespace {

struct FontCase {
  const char* name;
  const char* family;
  bool bold;
};

class FontMap : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontMap, LayoutFamiliesResolveToInstalledOnes) {
  const FontCase& c = GetParam();
  const QFont font = makeFont(QString::fromUtf8(c.family), 14);
  const QFontInfo info(font);
  EXPECT_EQ(info.family(), mappedFontFamily(QString::fromUtf8(c.family)));
  EXPECT_EQ(font.bold(), c.bold);
  EXPECT_EQ(font.pixelSize(), 14);
}

INSTANTIATE_TEST_SUITE_P(Families, FontMap,
                         ::testing::Values(FontCase{"YaHei", "微软雅黑", false},
                                           FontCase{"HeiTi", "黑体", false},
                                           FontCase{"SongTi", "宋体", false},
                                           FontCase{"ArialBold", "Arial Bold", true},
                                           FontCase{"Times", "Times New Roman", false},
                                           FontCase{"Unknown", "No Such Family 1234", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FontMapping, CjkFamiliesCoverChineseText) {
  const QFontInfo info(makeFont(QString::fromUtf8("微软雅黑"), 14));
  const QFontMetrics metrics(makeFont(QString::fromUtf8("微软雅黑"), 14));
  EXPECT_TRUE(metrics.inFont(QChar(0x97F3))) << info.family().toStdString();  // 音
}

TEST(FontMapping, AMissingFamilyFallsBackToTheGenericSansSerif) {
  EXPECT_EQ(mappedFontFamily("No Such Family 1234"), genericSansFamily());
  EXPECT_EQ(mappedFontFamily(""), genericSansFamily());
  EXPECT_FALSE(genericSansFamily().isEmpty());
}

}  // namespace
}  // namespace zr78
