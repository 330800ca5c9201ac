// zr78ctl response --png: the graph as the window draws it, written as a PNG.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "ctl/ctl_process.h"
#include "eq/tuned_channel.h"
#include "presets/preset_file.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;

class ResponsePngCtl : public ::testing::Test {
 protected:
  ResponsePngCtl() {
    PresetFile file(Folders{dir(), dir(), "zr78", dir()});
    file.header.deviceId = 4037;
    EXPECT_EQ(file.writeImage((dir() / "tuned.ryb").string(), tunedImage()), FileResult::Ok);
  }
  const fs::path& dir() const { return ctl_.root(); }
  std::string preset() const { return test::shellQuoted((dir() / "tuned.ryb").string()); }
  std::string out(const char* name) const { return test::shellQuoted((dir() / name).string()); }

  test::CtlProcess ctl_{"zr78-response-png-"};
};

#if ZR78_HAS_UI

struct PngSize {
  uint32_t width = 0, height = 0;
};

// The size from the header of a PNG file; 0 × 0 when it is not one.
PngSize pngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
    return {};
  const auto word = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
    return v;
  };
  return {word(16), word(20)};
}

TEST_F(ResponsePngCtl, WritesTheGraphOfOneOrAllChannels) {
  const test::CtlRun one = ctl_.run("response " + preset() + " --channel 2 --png " + out("one.png"));
  ASSERT_EQ(one.exitCode, 0) << one.err;
  EXPECT_EQ(one.out, "");  // no CSV
  const std::string onePng = test::fileText(dir() / "one.png");
  const PngSize panel = pngSize(onePng);
  EXPECT_EQ(panel.width, 1067u);  // the EQ panel's graph at scale 1
  EXPECT_EQ(panel.height, 213u);

  const test::CtlRun all = ctl_.run("response " + preset() + " --channel 2 --png " + out("all.png") + " --all");
  ASSERT_EQ(all.exitCode, 0) << all.err;
  EXPECT_NE(test::fileText(dir() / "all.png"), onePng);  // seven more curves

  const test::CtlRun sized = ctl_.run("response " + preset() +
                                      " --channel 0 --width 300 --height 100 --png " + out("small.png"));
  ASSERT_EQ(sized.exitCode, 0) << sized.err;
  const PngSize small = pngSize(test::fileText(dir() / "small.png"));
  EXPECT_EQ(small.width, 300u + 30 + 60);  // the plot and the graph's margins
  EXPECT_EQ(small.height, 100u + 10 + 18);
}

TEST_F(ResponsePngCtl, AFileThatCannotBeWrittenIsReported) {
  const test::CtlRun run =
      ctl_.run("response " + preset() + " --channel 1 --png " + out("no-such-folder/x.png"));
  EXPECT_EQ(run.exitCode, 5);
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir() / "no-such-folder"));
}

#else

TEST_F(ResponsePngCtl, WithoutTheWindowThePictureIsUnavailable) {
  const test::CtlRun run = ctl_.run("response " + preset() + " --channel 2 --png " + out("one.png"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("unavailable"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir() / "one.png"));
}

#endif

}  // namespace
}  // namespace zr78
