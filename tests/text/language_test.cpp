#include "text/language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace zr78 {
namespace {

using enum Language;

TEST(StartupLanguage, StoredChoiceElseTheLocaleRule) {
  struct Case {
    const char* name;
    int stored;
    uint32_t locale;
    Language expected;
  };
  const Case cases[] = {
      {"ini 1 with a Simplified locale", 1, kLocaleChinaSimplified, kTraditionalChinese},
      {"ini 1 with an English locale", 1, kLocaleUnitedStates, kTraditionalChinese},
      {"ini 0 with a Hong Kong locale", 0, kLocaleHongKong, kSimplifiedChinese},
      {"ini 2 with a Taiwan locale", 2, kLocaleTaiwan, kEnglish},
      {"no ini, Hong Kong", -1, kLocaleHongKong, kTraditionalChinese},
      {"no ini, Taiwan", -1, kLocaleTaiwan, kTraditionalChinese},
      {"no ini, China", -1, kLocaleChinaSimplified, kSimplifiedChinese},
      {"no ini, Japan", -1, kLocaleJapan, kEnglish},
      {"no ini, United States", -1, kLocaleUnitedStates, kEnglish},
      {"no ini, unknown id", -1, 0x0419, kEnglish},
      {"damaged ini value 3 counts as none", 3, kLocaleTaiwan, kTraditionalChinese},
      {"damaged ini value 255 counts as none", 255, kLocaleChinaSimplified, kSimplifiedChinese},
  };
  for (const Case& c : cases)
    EXPECT_EQ(chooseStartupLanguage(c.stored, c.locale), c.expected) << c.name;
}

TEST(StartupLanguage, LocaleNamesMapToLocaleIds) {
  struct Case {
    const char* name;
    uint32_t expected;
  };
  const Case cases[] = {
      {"zh_CN.UTF-8", kLocaleChinaSimplified},
      {"zh_SG", kLocaleChinaSimplified},
      {"zh_Hans", kLocaleChinaSimplified},
      {"zh-Hans-CN", kLocaleChinaSimplified},
      {"zh", kLocaleChinaSimplified},
      {"zh_TW.Big5", kLocaleTaiwan},
      {"zh_Hant", kLocaleTaiwan},
      {"zh_Hant_TW", kLocaleTaiwan},
      {"zh_HK.UTF-8", kLocaleHongKong},
      {"zh_MO", kLocaleHongKong},
      {"zh_Hant_HK", kLocaleHongKong},
      {"ja_JP.UTF-8", kLocaleJapan},
      {"en_US.UTF-8", kLocaleUnitedStates},
      {"de_DE@euro", kLocaleUnitedStates},
      {"C", kLocaleUnitedStates},
      {"POSIX", kLocaleUnitedStates},
      {"", kLocaleUnitedStates},
      {"zhx_CN", kLocaleUnitedStates},
  };
  for (const Case& c : cases) EXPECT_EQ(localeIdFromName(c.name), c.expected) << c.name;
}

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment : public ::testing::Test {
 protected:
  static constexpr const char* kVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

  void SetUp() override {
    for (size_t i = 0; i < std::size(kVariables); ++i) {
      const char* value = std::getenv(kVariables[i]);
      saved_[i] = value ? std::optional<std::string>(value) : std::nullopt;
      unsetenv(kVariables[i]);
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < std::size(kVariables); ++i) {
      if (saved_[i]) {
        setenv(kVariables[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
  }

 private:
  std::optional<std::string> saved_[std::size(kVariables)];
};

#ifndef _WIN32
TEST_F(LocaleEnvironment, FirstNonEmptyVariableWins) {
  struct Case {
    const char* name;
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    uint32_t expected;
  };
  const Case cases[] = {
      {"LC_ALL over the others", "zh_TW.UTF-8", "zh_CN.UTF-8", "en_US.UTF-8", kLocaleTaiwan},
      {"empty LC_ALL is skipped", "", "zh_HK.UTF-8", "en_US.UTF-8", kLocaleHongKong},
      {"LC_MESSAGES over LANG", nullptr, "ja_JP.UTF-8", "zh_CN.UTF-8", kLocaleJapan},
      {"LANG alone", nullptr, nullptr, "zh_SG.UTF-8", kLocaleChinaSimplified},
      {"nothing set: the C locale", nullptr, nullptr, nullptr, kLocaleUnitedStates},
  };
  for (const Case& c : cases) {
    const char* values[] = {c.lcAll, c.lcMessages, c.lang};
    for (size_t i = 0; i < std::size(kVariables); ++i) {
      if (values[i]) {
        setenv(kVariables[i], values[i], 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
    EXPECT_EQ(systemLocaleId(), c.expected) << c.name;
  }
}
#endif

TEST(LanguageIndexTest, HoldsTheLanguageSet) {
  LanguageIndex index(kTraditionalChinese);
  EXPECT_EQ(index.get(), kTraditionalChinese);
  index.set(kEnglish);
  EXPECT_EQ(index.get(), kEnglish);
  EXPECT_EQ(LanguageIndex().get(), kEnglish);
}

TEST(LanguageIndexTest, OnlyTheThreeIndexesNameALanguage) {
  for (Language l : kLanguages) EXPECT_EQ(languageFromIndex(languageIndex(l)), l);
  EXPECT_EQ(languageIndex(kSimplifiedChinese), 0);
  EXPECT_EQ(languageIndex(kTraditionalChinese), 1);
  EXPECT_EQ(languageIndex(kEnglish), 2);
  EXPECT_FALSE(languageFromIndex(3));
  EXPECT_FALSE(languageFromIndex(-1));
}

TEST(LanguageIndexTest, LanguageIdentifiers) {
  EXPECT_EQ(languageIdentifier(kSimplifiedChinese), 2052);
  EXPECT_EQ(languageIdentifier(kTraditionalChinese), 1028);
  EXPECT_EQ(languageIdentifier(kEnglish), 1033);
  EXPECT_EQ(languageIdentifier(static_cast<Language>(3)), 1033);
}

}  // namespace
}  // namespace zr78
