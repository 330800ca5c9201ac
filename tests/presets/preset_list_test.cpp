#include "presets/preset_list.h"

#include <gtest/gtest.h>

#include <fstream>

#include "presets/preset_file.h"
#include "presets/preset_test_support.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;

// What the list shows loads by the name it shows, as the window's load
// takes a listed name: a file of any letter case of ".ryb", from any of the
// three folders.
TEST(PresetList, EveryListedNameLoads) {
  test::TempDir dir;
  const Folders folders = test::testFolders(dir.path());
  fs::create_directories(folders.preset());
  const auto values = test::sampleValues(7);
  const fs::path files[] = {folders.working / "Work.ryb", folders.preset() / "Alto.RYB",
                            folders.preset() / "Bass.ryb", folders.fallback / "Old.Ryb"};
  for (const fs::path& file : files) {
    fs::create_directories(file.parent_path());
    PresetFile writer(folders);
    ASSERT_EQ(writer.writeImage(utf8FromPath(file), values), FileResult::Ok);
  }

  const std::vector<ListedPreset> listed = listPresetFiles(folders);
  ASSERT_EQ(listed.size(), std::size(files));
  for (size_t i = 0; i < listed.size(); ++i) {
    EXPECT_EQ(listed[i].folder / listed[i].name, files[i]);
    PresetFile reader(folders);
    EXPECT_EQ(reader.load(listed[i].name), FileResult::Ok) << listed[i].name;
    EXPECT_EQ(reader.lastPath(), utf8FromPath(files[i]));
  }
}

// Without a fallback folder (nothing was ever saved there) the list is the
// other two folders'; a relative working folder is shown absolute.
TEST(PresetList, MissingFoldersAddNothing) {
  test::TempDir dir;
  Folders folders = test::testFolders(dir.path());
  EXPECT_TRUE(listPresetFiles(folders).empty());
  std::ofstream(folders.working / "Work.ryb") << "listed by its name alone";
  fs::current_path(dir.path());
  folders.working = "work";
  const std::vector<ListedPreset> listed = listPresetFiles(folders);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].folder, dir.path() / "work");
}

}  // namespace
}  // namespace zr78
