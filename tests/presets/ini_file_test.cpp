// The settings ini: reading and writing one key keeps everything else, and
// the language is looked for in the preset folder, then the fallback folder.
#include "presets/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "presets/file_io.h"
#include "preset_test_support.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;

TEST(IniFile, ReadsSectionsAndKeysCaseInsensitively) {
  const IniFile ini = IniFile::parse("; comment\nTop=1\n[Other]\nLanguage=0\n[ZR78]\n  language = 2 \n# x=5\n");
  EXPECT_EQ(ini.value("zr78", "LANGUAGE"), "2");
  EXPECT_EQ(ini.value("other", "Language"), "0");
  EXPECT_EQ(ini.value("zr78", "x"), std::nullopt) << "comment";
  EXPECT_EQ(ini.value("zr78", "Top"), std::nullopt) << "outside the section";
  EXPECT_EQ(ini.value("missing", "Language"), std::nullopt);
}

TEST(IniFile, WritingOneKeyKeepsTheRest) {
  struct Case {
    const char* name;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"replace", "; keep\n[A]\nx=1\n[zr78]\nother=7\nLANGUAGE=0\n[B]\ny=2\n",
       "; keep\n[A]\nx=1\n[zr78]\nother=7\nLanguage=2\n[B]\ny=2\n"},
      {"add to the section", "[ZR78]\nother=7\n\n[B]\ny=2\n", "[ZR78]\nother=7\nLanguage=2\n\n[B]\ny=2\n"},
      {"add the section", "[B]\ny=2\n", "[B]\ny=2\n[zr78]\nLanguage=2\n"},
      {"empty file", "", "[zr78]\nLanguage=2\n"},
      {"line ends kept", "[zr78]\r\nLanguage=1\r\nz=3\r\n", "[zr78]\r\nLanguage=2\r\nz=3\r\n"},
  };
  for (const Case& c : cases) {
    IniFile ini = IniFile::parse(c.before);
    ini.set("zr78", "Language", "2");
    EXPECT_EQ(ini.text(), c.after) << c.name;
  }
}

TEST(IniFile, ParsesTheLeadingInteger) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"2", 2}, {" 1 ", 1}, {"-1", -1}, {"+3", 3}, {"3x", 3}, {"x3", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(parseIniInt(text), expected) << '"' << text << '"';
}

class IniFolders : public ::testing::Test {
 protected:
  test::TempDir dir;
  Folders folders = test::testFolders(dir.path());

  static void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  static std::string readText(const fs::path& path) {
    const auto bytes = readWholeFile(path).value_or(std::vector<uint8_t>{});
    return std::string(bytes.begin(), bytes.end());
  }
};

TEST_F(IniFolders, ReadLanguagePresetFolderFirst) {
  struct Case {
    const char* name;
    const char* preset;    // nullptr: no file
    const char* fallback;
    int expected;
  };
  const Case cases[] = {
      {"none", nullptr, nullptr, -1},
      {"preset", "[zr78]\nLanguage=1\n", "[zr78]\nLanguage=2\n", 1},
      {"fallback", nullptr, "[zr78]\nLanguage=2\n", 2},
      {"preset without the key", "[other]\nLanguage=1\n", "[zr78]\nLanguage=0\n", 0},
      {"negative in the preset folder", "[zr78]\nLanguage=-5\n", "[zr78]\nLanguage=2\n", 2},
      {"not a number anywhere", "[zr78]\nLanguage=en\n", nullptr, -1},
  };
  for (const Case& c : cases) {
    std::error_code error;
    fs::remove(folders.preset() / "Language.ini", error);
    fs::remove(folders.fallback / "Language.ini", error);
    if (c.preset) writeText(folders.preset() / "Language.ini", c.preset);
    if (c.fallback) writeText(folders.fallback / "Language.ini", c.fallback);
    EXPECT_EQ(readLanguage(folders), c.expected) << c.name;
  }
}

TEST_F(IniFolders, WriteMakesThePresetFolderAndKeepsOtherContent) {
  writeText(folders.preset() / "Language.ini", "[Other]\nkeep=1\n");
  ASSERT_TRUE(writeIniNumber(folders, "Language", "Language", 2));
  EXPECT_EQ(readText(folders.preset() / "Language.ini"), "[Other]\nkeep=1\n[zr78]\nLanguage=2\n");
  EXPECT_EQ(readLanguage(folders), 2);
  ASSERT_TRUE(writeIniValue(folders, "Settings", "Skin", "dark"));
  EXPECT_EQ(readText(folders.preset() / "Settings.ini"), "[zr78]\nSkin=dark\n");
}

TEST_F(IniFolders, WriteFallsBackWhenThePresetFolderCannotBeWritten) {
  writeText(folders.program / "FileData", "a file, not a folder");
  ASSERT_TRUE(writeIniNumber(folders, "Language", "Language", 1));
  EXPECT_EQ(readText(folders.fallback / "Language.ini"), "[zr78]\nLanguage=1\n");
  EXPECT_EQ(readLanguage(folders), 1);
}

}  // namespace
}  // namespace zr78
