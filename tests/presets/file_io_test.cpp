// Reading files that may be anything, and writes that survive a power loss:
// only regular files of bounded size are read (never a FIFO, which would
// block the reader forever, never a huge file read whole), and a replacing
// write flushes the file before the rename and the folder after it.
#include "presets/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "presets/preset_file.h"
#include "preset_test_support.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  fs::path at(const std::string& name) const { return dir.path() / name; }
  void writeBytes(const std::string& name, size_t size) const {
    std::ofstream(at(name), std::ios::binary) << std::string(size, 'x');
  }
  void makeFifo(const std::string& name) const { ASSERT_EQ(::mkfifo(at(name).c_str(), 0600), 0); }
  // A sparse file: its size without its blocks.
  void makeSparse(const std::string& name, uintmax_t size) const {
    std::ofstream(at(name), std::ios::binary).put('x');
    fs::resize_file(at(name), size);
  }
};

TEST_F(FileIoTest, OnlyRegularFilesWithinTheBoundAreRead) {
  constexpr uint64_t kBound = 4096;
  writeBytes("small", 10);
  writeBytes("exactly", kBound);
  writeBytes("one-more", kBound + 1);
  makeSparse("huge", uintmax_t{2} << 30);  // 2 GiB
  makeFifo("fifo");
  fs::create_directory(at("folder"));
  fs::create_symlink(at("small"), at("link-to-file"));
  fs::create_symlink(at("fifo"), at("link-to-fifo"));
  struct Case {
    const char* name;
    ReadStatus status;
    size_t size;
  } const cases[] = {
      {"small", ReadStatus::Ok, 10},
      {"exactly", ReadStatus::Ok, kBound},
      {"link-to-file", ReadStatus::Ok, 10},
      {"one-more", ReadStatus::TooLarge, 0},
      {"huge", ReadStatus::TooLarge, 0},
      {"fifo", ReadStatus::NotRegularFile, 0},
      {"link-to-fifo", ReadStatus::NotRegularFile, 0},
      {"folder", ReadStatus::NotRegularFile, 0},
      {"missing", ReadStatus::CannotOpen, 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = {1, 2, 3};
    EXPECT_EQ(readBoundedFile(at(c.name), kBound, bytes), c.status) << c.name;
    if (c.status == ReadStatus::Ok)
      EXPECT_EQ(bytes.size(), c.size) << c.name;
    else
      EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3})) << c.name << ": a failed read leaves the output alone";
  }
  std::vector<uint8_t> device;
  EXPECT_EQ(readBoundedFile("/dev/zero", kBound, device), ReadStatus::NotRegularFile) << "a device is not read";
  EXPECT_EQ(readStatusMeaning(ReadStatus::TooLarge), "larger than 1 MiB");
}

// The preset reader on the same kinds: a FIFO or folder cannot be opened (so
// the load goes on to the next folder, as for a missing file); a file too
// large to be a preset file is damaged.
TEST_F(FileIoTest, PresetReadsAreBounded) {
  const Folders folders = test::testFolders(dir.path());
  makeFifo("work/Pipe.ryb");
  makeSparse("work/Huge.ryb", uintmax_t{2} << 30);
  makeSparse("work/Big.ryb", kMaxPresetFileBytes + 1);
  struct Case {
    const char* name;
    FileResult result;
    const char* problem;
  } const cases[] = {
      {"Pipe", FileResult::CannotOpen, "not a regular file"},
      {"Huge", FileResult::ChecksumMismatch, "larger than 1 MiB"},
      {"Big", FileResult::ChecksumMismatch, "larger than 1 MiB"},
  };
  for (const Case& c : cases) {
    PresetFile file(folders);
    EXPECT_EQ(file.load(c.name), c.result) << c.name;
    EXPECT_EQ(file.problem(), c.problem) << c.name;
    EXPECT_TRUE(file.values.empty()) << c.name;
  }
  // Past the FIFO in the working folder, the preset folder's file is found.
  fs::create_directories(folders.preset());
  PresetFile writer(folders);
  ASSERT_EQ(writer.writeImage(utf8FromPath(folders.preset() / "Pipe.ryb"), test::sampleValues(4)), FileResult::Ok);
  PresetFile reader(folders);
  EXPECT_EQ(reader.load("Pipe"), FileResult::Ok);
  EXPECT_EQ(reader.lastPath(), utf8FromPath(folders.preset() / "Pipe.ryb"));
}

// The steps of a replacing write, recorded around the system's own; each can
// be made to fail.
struct StepRecorder {
  std::vector<std::string> steps;
  std::string failing;
  fs::path renamedTo;

  DurableSteps durableSteps() {
    const DurableSteps system = DurableSteps::system();
    return {
        [this, system](std::FILE* file) { return record("sync file") && system.syncFile(file); },
        [this, system](const fs::path& from, const fs::path& to) {
          renamedTo = to;
          return record("rename") && system.renameOver(from, to);
        },
        [this, system](const fs::path& folder) { return record("sync folder " + folder.filename().string()) && system.syncFolder(folder); },
    };
  }
  bool record(const std::string& step) {
    steps.push_back(step);
    return failing.empty() || step.rfind(failing, 0) != 0;
  }
};

TEST_F(FileIoTest, AReplacingWriteFlushesTheFileThenTheFolder) {
  fs::create_directory(at("presets"));
  const fs::path target = at("presets") / "Bass.ryb";
  const std::vector<uint8_t> fresh = {9, 8, 7};
  StepRecorder recorder;
  ASSERT_TRUE(writeFileReplacing(target, fresh, recorder.durableSteps()));
  EXPECT_EQ(recorder.steps, (std::vector<std::string>{"sync file", "rename", "sync folder presets"}));
  EXPECT_EQ(recorder.renamedTo, target);
  EXPECT_EQ(readWholeFile(target), fresh);
}

TEST_F(FileIoTest, AFailedStepKeepsTheOldFileAndReportsFailure) {
  const std::vector<uint8_t> old = {1, 2, 3}, fresh = {4, 5, 6, 7};
  struct Case {
    const char* failing;
    bool oldKept;  // a failure after the rename leaves the new file in place
  } const cases[] = {{"sync file", true}, {"rename", true}, {"sync folder", false}};
  for (const Case& c : cases) {
    const fs::path target = at(std::string(c.failing) + ".ryb");
    ASSERT_TRUE(writeFileReplacing(target, old));
    StepRecorder recorder;
    recorder.failing = c.failing;
    EXPECT_FALSE(writeFileReplacing(target, fresh, recorder.durableSteps())) << c.failing;
    EXPECT_EQ(readWholeFile(target), c.oldKept ? old : fresh) << c.failing;
  }
  // No temporary file is left behind by any of them.
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, std::size(cases));
}

}  // namespace
}  // namespace zr78
