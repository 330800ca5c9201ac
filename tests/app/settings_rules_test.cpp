// The settings pages' rules without a window: names the device can hold and
// how they read back, and which files the preset page's list, save question
// and delete stand for.
#include <gtest/gtest.h>

#include <fstream>

#include "app/files_page_rules.h"
#include "app/modes_page_rules.h"
#include "temp_dir.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;

TEST(ModesPageRules, SlotsAndTheSlotShownFirst) {
  EXPECT_EQ(modeSlotText(1), "1-USER");
  EXPECT_EQ(modeSlotText(6), "6-USER");
  const struct {
    int32_t currentMode;
    int item;
  } cases[] = {{1, 0}, {3, 2}, {6, 5}, {0, 0}, {7, 0}, {-1, 0}, {0x0503, 0}};
  for (const auto& c : cases) EXPECT_EQ(initialSlotItem(c.currentMode), c.item) << c.currentMode;
}

TEST(ModesPageRules, StorableNames) {
  const std::string padded = "Bass" + std::string(21, ' ');
  const struct {
    std::u16string typed;
    std::optional<std::string> stored;
  } cases[] = {
      {u"Bass", padded},
      {u"", std::string(25, ' ')},
      {u"     ", std::string(25, ' ')},
      {u"abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrstuvwx "},  // 24 taken
      {u"~\u007F\u0080", "~\x7F\x80" + std::string(22, ' ')},          // the highest accepted
      {u"Caf\u00E9", std::nullopt},
      {u"\u4F4E\u97F3", std::nullopt},
      {u"Tab\there", std::nullopt},
      {u"abcdefghijklmnopqrstuvwx\u00E9", "abcdefghijklmnopqrstuvwx "},  // beyond 24: not looked at
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
    EXPECT_EQ(storableModeName(c.typed), c.stored);
  }
}

TEST(ModesPageRules, ShownNames) {
  const struct {
    std::string buffer;
    std::u16string shown;
  } cases[] = {
      {"Bass", u"Bass"},
      {"Bass   ", u"Bass"},
      {"  ", u" "},  // the first character always stays
      {"", u""},
      {"12345678901234567890XYZ", u"12345678901234567890"},
      {"a b", u"a b"},
  };
  for (const auto& c : cases) {
    ModeName name;
    name.assign(c.buffer);
    EXPECT_EQ(shownModeName(name), c.shown) << c.buffer;
  }
}

class FilesPageRules : public ::testing::Test {
 protected:
  FilesPageRules() {
    folders_.program = dir_.path() / "program";
    folders_.fallback = dir_.path() / "fallback";
    folders_.working = dir_.path() / "work";
    folders_.baseName = "zr78";
    for (const fs::path& f : {folders_.preset(), folders_.fallback, folders_.working})
      fs::create_directories(f);
  }
  void touch(const fs::path& file) { std::ofstream(file) << "x"; }
  std::vector<std::string> texts() {
    std::vector<std::string> out;
    for (const FileListItem& item : fileListItems(folders_)) out.push_back(item.text);
    return out;
  }

  test::TempDir dir_{"zr78-files-rules-"};
  Folders folders_;
};

// A working folder that is one of the program's folders lists nothing twice.
TEST_F(FilesPageRules, ListNamesEachFileOnce) {
  touch(folders_.preset() / "Bass.ryb");
  touch(folders_.fallback / "Top.ryb");
  folders_.working = folders_.fallback;
  EXPECT_EQ(texts(), (std::vector<std::string>{"Top.ryb", "Bass.ryb"}));
  folders_.working = folders_.preset();
  EXPECT_EQ(texts(), (std::vector<std::string>{"Bass.ryb", "Top.ryb"}));
}

TEST_F(FilesPageRules, FilesASaveWouldReplace) {
  touch(folders_.fallback / "Bass.RYB");
  touch(folders_.working / "Mid.ryb");
  touch(folders_.preset() / "Top.ryb");
  touch(folders_.preset() / "Topper.ryb");
  const struct {
    std::string name;
    std::vector<fs::path> files;
  } cases[] = {
      {"Bass", {folders_.fallback / "Bass.RYB"}},
      {"Bass.rYb", {folders_.fallback / "Bass.RYB"}},
      {"Mid", {folders_.working / "Mid.ryb"}},
      {"Top", {folders_.preset() / "Top.ryb"}},
      {"Toppe", {}},
      {utf8FromPath(folders_.preset() / "Top.RYB"), {folders_.preset() / "Top.ryb"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(filesNamed(folders_, c.name), c.files) << c.name;
}

TEST_F(FilesPageRules, FileADeleteRemoves) {
  touch(folders_.preset() / "Bass.ryb");
  touch(folders_.fallback / "Bass.ryb");
  touch(folders_.fallback / "Top.ryb");
  touch(folders_.working / "notes.ryb.txt");
  const std::vector<FileListItem> items = fileListItems(folders_);
  const struct {
    std::string text;
    std::optional<fs::path> file;
  } cases[] = {
      {utf8FromPath(folders_.fallback / "Bass.ryb"), folders_.fallback / "Bass.ryb"},
      {utf8FromPath(folders_.preset() / "Bass.ryb"), folders_.preset() / "Bass.ryb"},
      {"Bass", folders_.preset() / "Bass.ryb"},  // as a load finds it
      {"Top.ryb", folders_.fallback / "Top.ryb"},
      {"notes.ryb.txt", std::nullopt},
      {"Ghost", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(fileToDelete(folders_, items, c.text), c.file) << c.text;
}

TEST(FileDialogFilters, PairsAsTheDialogReadsThem) {
  EXPECT_EQ(dialogFilters("默认文件(*.ryb)|*.ryb|所有文件 (*.*)|*.*||"),
            (std::vector<std::string>{"默认文件(*.ryb)", "所有文件 (*.*)"}));
  EXPECT_EQ(dialogFilters("Tunings|*.ryb|All|*.*||"),
            (std::vector<std::string>{"Tunings (*.ryb)", "All (*.*)"}));
  EXPECT_EQ(dialogFilters("Tunings|*.ryb"), (std::vector<std::string>{"Tunings (*.ryb)"}));
  EXPECT_TRUE(dialogFilters("").empty());
  EXPECT_TRUE(dialogFilters("Tunings|").empty());
}

}  // namespace
}  // namespace zr78
