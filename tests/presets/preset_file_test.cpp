// Names and folders of the preset files: completion, save with its fallback,
// the load order, delete, exists, and that a failed read or write harms nothing.
#include "presets/preset_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <fstream>

#include "presets/file_io.h"
#include "preset_test_support.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;

class PresetFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  Folders folders = test::testFolders(dir.path());
  std::array<int32_t, kPresetRegisterCount> values = test::sampleValues(2);

  // Writes a file with the given deviceId at `path` (folders made as needed).
  void writeAt(const fs::path& path, uint32_t deviceId) {
    fs::create_directories(path.parent_path());
    PresetFile data(folders);
    data.header.deviceId = deviceId;
    ASSERT_EQ(data.writeImage(utf8FromPath(path), values), FileResult::Ok);
  }
  // The preset folder cannot be made: a plain file stands in its place.
  void blockPresetFolder() { std::ofstream(folders.preset()) << "not a folder"; }
  static std::vector<uint8_t> bytesOf(const fs::path& path) { return readWholeFile(path).value_or(std::vector<uint8_t>{}); }
};

TEST(PresetName, CompletesUnlessTheLowerCasedNameHoldsTheExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"Bass", "Bass.ryb"}, {"Bass.RYB", "Bass.RYB"}, {"my.ryb.old", "my.ryb.old"},
      {"a.RyB.x", "a.RyB.x"}, {"ryb", "ryb.ryb"},     {"dir/Bass", "dir/Bass.ryb"},
  };
  for (const auto& [name, completed] : cases) EXPECT_EQ(PresetFile::completeName(name), completed) << name;
}

TEST_F(PresetFileTest, EmptyNamesTouchNothing) {
  PresetFile data(folders);
  EXPECT_EQ(data.writeImage("", values), FileResult::EmptyName);
  EXPECT_EQ(data.readImage(""), FileResult::EmptyName);
  EXPECT_EQ(data.save("", values), FileResult::EmptyName);
  EXPECT_EQ(data.load(""), FileResult::EmptyName);
  EXPECT_EQ(data.remove(""), FileResult::EmptyName);
  EXPECT_FALSE(fs::exists(folders.preset()));
  EXPECT_TRUE(fs::is_empty(folders.working));
}

TEST_F(PresetFileTest, WritesAtTheCompletedNameAndReadsBack) {
  PresetFile writer(folders);
  writer.header.deviceId = 8864;
  ASSERT_EQ(writer.writeImage("Bass", values), FileResult::Ok);
  EXPECT_EQ(fs::file_size(folders.working / "Bass.ryb"), 7490u);
  PresetFile reader(folders);
  ASSERT_EQ(reader.readImage("Bass.ryb"), FileResult::Ok);
  EXPECT_EQ(reader.header.deviceId, 8864u);
  EXPECT_EQ(reader.header.time, writer.header.time);
  EXPECT_TRUE(std::equal(values.begin(), values.end(), reader.values.begin()));
  EXPECT_EQ(reader.readImage("Missing"), FileResult::CannotOpen);
}

TEST_F(PresetFileTest, ADamagedFileChangesNothing) {
  writeAt(folders.working / "Good.ryb", 1);
  auto bytes = bytesOf(folders.working / "Good.ryb");
  bytes[1000] ^= 0xFF;
  std::ofstream(folders.working / "Bad.ryb", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 3000);
  PresetFile data(folders);
  ASSERT_EQ(data.readImage("Good"), FileResult::Ok);
  const PresetHeader header = data.header;
  const std::vector<int32_t> before = data.values;
  EXPECT_EQ(data.readImage("Bad"), FileResult::ChecksumMismatch);
  EXPECT_EQ(data.header, header);
  EXPECT_EQ(data.values, before);
}

TEST_F(PresetFileTest, SaveWritesIntoThePresetFolder) {
  PresetFile data(folders);
  ASSERT_EQ(data.save("Bass", values), FileResult::Ok);
  EXPECT_EQ(data.lastPath(), utf8FromPath(folders.preset() / "Bass.ryb"));
  EXPECT_EQ(fs::file_size(folders.preset() / "Bass.ryb"), 7490u);
  const auto first = bytesOf(folders.preset() / "Bass.ryb");
  ASSERT_EQ(PresetFile(folders).save("Bass", values), FileResult::Ok);
  EXPECT_NE(bytesOf(folders.preset() / "Bass.ryb"), first) << "replaced by a new file";
  EXPECT_EQ(std::distance(fs::directory_iterator(folders.preset()), fs::directory_iterator()), 1) << "no temporary left";
}

TEST_F(PresetFileTest, SaveFallsBackWhenThePresetFolderCannotBeWritten) {
  blockPresetFolder();
  PresetFile data(folders);
  ASSERT_EQ(data.save("Bass", values), FileResult::Ok);
  EXPECT_EQ(data.lastPath(), utf8FromPath(folders.fallback / "Bass.ryb"));
  PresetFile reader(folders);
  EXPECT_EQ(reader.load("Bass"), FileResult::Ok);
}

TEST_F(PresetFileTest, SaveUsesAnAbsoluteNameAsItIs) {
  const fs::path target = dir.path() / "elsewhere" / "Abs.ryb";
  fs::create_directories(target.parent_path());
  PresetFile data(folders);
  ASSERT_EQ(data.save(utf8FromPath(target), values), FileResult::Ok);
  EXPECT_EQ(data.lastPath(), utf8FromPath(target));
  EXPECT_TRUE(fs::exists(target));
  EXPECT_TRUE(fs::is_empty(folders.preset()));
}

// A full disk: the write of the new file fails part-way. The old file stays
// whole, no temporary is left, and the failure is reported.
TEST_F(PresetFileTest, AFailedWriteKeepsTheOldFile) {
  writeAt(folders.preset() / "Bass.ryb", 1);
  const auto old = bytesOf(folders.preset() / "Bass.ryb");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const FileResult result = PresetFile(folders).save("Bass", values);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
  EXPECT_EQ(result, FileResult::CannotCreate);
  EXPECT_EQ(bytesOf(folders.preset() / "Bass.ryb"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(folders.preset()), fs::directory_iterator()), 1);
  EXPECT_FALSE(fs::exists(folders.fallback / "Bass.ryb"));
}

TEST_F(PresetFileTest, LoadPrefersWorkingThenPresetThenFallback) {
  struct Case {
    const char* name;
    bool working, preset, fallback;
    uint32_t expected;  // deviceId of the copy found; 0 = none
  };
  const Case cases[] = {
      {"all three", true, true, true, 1},        {"preset and fallback", false, true, true, 2},
      {"fallback only", false, false, true, 3}, {"working and fallback", true, false, true, 1},
      {"none", false, false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = std::string("Load") + std::to_string(&c - cases);
    if (c.working) writeAt(folders.working / (name + ".ryb"), 1);
    if (c.preset) writeAt(folders.preset() / (name + ".ryb"), 2);
    if (c.fallback) writeAt(folders.fallback / (name + ".ryb"), 3);
    PresetFile data(folders);
    const FileResult result = data.load(name);
    EXPECT_EQ(result, c.expected ? FileResult::Ok : FileResult::CannotOpen);
    if (c.expected) {
      EXPECT_EQ(data.header.deviceId, c.expected);
    }
  }
}

TEST_F(PresetFileTest, LoadStopsAtADamagedFile) {
  std::ofstream(folders.working / "Bass.ryb") << "damaged";
  writeAt(folders.preset() / "Bass.ryb", 2);
  EXPECT_EQ(PresetFile(folders).load("Bass"), FileResult::ChecksumMismatch);
}

TEST_F(PresetFileTest, DeleteTakesTheNameThenTheFallbackCopy) {
  writeAt(folders.working / "Bass.ryb", 1);
  writeAt(folders.fallback / "Bass.ryb", 3);
  writeAt(folders.preset() / "Bass.ryb", 2);
  PresetFile data(folders);
  EXPECT_EQ(data.remove("Bass"), FileResult::Ok);
  EXPECT_FALSE(fs::exists(folders.working / "Bass.ryb"));
  EXPECT_TRUE(fs::exists(folders.fallback / "Bass.ryb"));
  EXPECT_EQ(data.remove("Bass"), FileResult::Ok);
  EXPECT_FALSE(fs::exists(folders.fallback / "Bass.ryb"));
  EXPECT_EQ(data.remove("Bass"), FileResult::Ok) << "a name found nowhere is no failure";
  EXPECT_TRUE(fs::exists(folders.preset() / "Bass.ryb")) << "the preset folder is not searched";
}

TEST_F(PresetFileTest, ExistsLooksAtTheNameAndTheFallbackFolderOnly) {
  writeAt(folders.working / "Work.ryb", 1);
  writeAt(folders.fallback / "Fall.ryb", 1);
  writeAt(folders.preset() / "Preset.ryb", 1);
  writeAt(folders.working / "Upper.RYB", 1);
  const std::pair<const char*, bool> cases[] = {
      {"Work", true},      {"Work.ryb", true},  {"Fall", true},
      {"Preset", false},   {"Missing", false},  {"Upper.RYB", false},  // completed case-sensitively: Upper.RYB.ryb
  };
  PresetFile data(folders);
  for (const auto& [name, expected] : cases) EXPECT_EQ(data.exists(name), expected) << name;
}

}  // namespace
}  // namespace zr78
