// zr78ctl, as a process, on files named like preset files that are not: a
// FIFO (an open for reading would wait for a writer forever) and a 2 GiB
// sparse file (read whole, it would take 2 GiB). Every command that reads a
// file returns its result code and keeps its memory small. Each run is
// guarded by `timeout`, so a reader that blocks fails the test instead of
// hanging it. Also the bounds of the other outside numbers zr78ctl takes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ctl/ctl_process.h"
#include "presets/preset_file.h"
#include "registers/default_image.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;
using test::shellQuoted;

constexpr int kTimedOut = 124;  // timeout(1)'s code for a command it had to end

class HostileFiles : public ::testing::Test {
 protected:
  test::TempDir dir{"zr78-hostile-"};
  fs::path at(const std::string& name) const { return dir.path() / name; }

  void SetUp() override {
    fs::create_directories(at("home"));
    ASSERT_EQ(::mkfifo(at("pipe.ryb").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(at("pipe.json").c_str(), 0600), 0);
    for (const char* name : {"huge.ryb", "huge.json"}) {
      std::ofstream(at(name), std::ios::binary).put('x');
      fs::resize_file(at(name), uintmax_t{2} << 30);
    }
  }

  test::CtlRun run(const std::string& arguments) const {
    const fs::path out = at("out.txt"), err = at("err.txt");
    const std::string command = "cd " + shellQuoted(dir.path().string()) + " && env XDG_DATA_HOME=" +
                                shellQuoted(at("data").string()) + " HOME=" + shellQuoted(at("home").string()) +
                                " timeout 30 " + shellQuoted(ZR78CTL_PATH) + " " + arguments + " >" +
                                shellQuoted(out.string()) + " 2>" + shellQuoted(err.string()) + " </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::fileText(out), test::fileText(err)};
  }
};

TEST_F(HostileFiles, EveryReaderReturnsItsCodeWithoutReadingThem) {
  const std::string state = "--simulate=" + shellQuoted(at("amplifier.state").string());
  struct Case {
    std::string arguments;
    int exitCode;
    const char* says;
  } const cases[] = {
      {"preset show pipe.ryb", 4, "not a regular file"},
      {"preset show huge.ryb", 6, "larger than 1 MiB"},
      {"preset export pipe.ryb", 4, "not a regular file"},
      {"preset export huge.ryb", 6, "larger than 1 MiB"},
      {"preset import pipe.json out.ryb", 4, "not a regular file"},
      {"preset import huge.json out.ryb", 9, "larger than 1 MiB"},
      {"response pipe.ryb --channel 0", 4, "cannot open"},
      {"response huge.ryb --channel 0", 6, ""},
      {"device " + state + " load pipe.ryb", 4, "cannot open"},
      {"device " + state + " load huge.ryb", 6, ""},
  };
  for (const Case& c : cases) {
    const test::CtlRun result = run(c.arguments);
    ASSERT_NE(result.exitCode, kTimedOut) << c.arguments << ": blocked on the file";
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments << ": " << result.err;
    EXPECT_NE(result.err.find(c.says), std::string::npos) << c.arguments << ": " << result.err;
    EXPECT_EQ(result.out, "") << c.arguments;
  }
  EXPECT_FALSE(fs::exists(at("out.ryb")));
  // The largest of the runs stayed far below the size of the file (2 GiB):
  // nothing was read whole. ru_maxrss is in KiB.
  rusage children{};
  ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &children), 0);
  EXPECT_LT(children.ru_maxrss, 512 * 1024) << "peak memory of a run, KiB";
}

// The plot size of `response` is bounded: a width or height outside 64..8192
// is a usage error with a message, never an overflow in the plot arithmetic.
TEST_F(HostileFiles, ResponsePlotSizeIsBounded) {
  PresetFile file(Folders{dir.path(), dir.path(), "zr78", dir.path()});
  file.header.deviceId = 4037;
  ASSERT_EQ(file.writeImage(at("tuned.ryb").string(), defaultRegisterImage()), FileResult::Ok);
  struct Case {
    const char* size;
    int exitCode;
  } const cases[] = {
      {"--width 64 --height 64", 0},          {"--width 8192 --height 100", 0},
      {"--width 63", 2},                      {"--height 8193", 2},
      {"--width 2147483647", 2},              {"--width 0", 2},
      {"--height -100", 2},                   {"--width 99999999999999999999", 2},
  };
  for (const Case& c : cases) {
    const test::CtlRun result = run(std::string("response tuned.ryb --channel 0 ") + c.size);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.size << ": " << result.err;
    if (c.exitCode == 0) {
      EXPECT_NE(result.out.find("column,frequency_hz,total_db"), std::string::npos) << c.size;
    } else {
      EXPECT_EQ(result.out, "") << c.size;
      EXPECT_NE(result.err.find("--"), std::string::npos) << c.size << ": the option is named: " << result.err;
    }
  }
}

}  // namespace
}  // namespace zr78
