#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ctl/ctl_process.h"
#include "eq/literal_response.h"
#include "eq/tuned_channel.h"
#include "presets/preset_file.h"

namespace zr78 {
namespace {

// The command-line tool on a preset file with the same settings.
TEST(ResponseCtl, PresetFileGivesTheLiteralCurve) {
  namespace fs = std::filesystem;
  const test::CtlProcess ctl("zr78-response-ctl-");
  const fs::path& dir = ctl.root();
  const RegisterImage image = tunedImage();
  PresetFile file(Folders{dir, dir, "zr78", dir});
  file.header.deviceId = 4037;
  ASSERT_EQ(file.writeImage((dir / "tuned.ryb").string(), image), FileResult::Ok);
  const std::string tuned = test::shellQuoted((dir / "tuned.ryb").string());
  const test::CtlRun run = ctl.run("response " + tuned + " --channel 2 --width 300 --height 100");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::string header;
  const std::vector<CsvRow> rows = parseResponseCsv(run.out, header);
  EXPECT_EQ(header, "column,frequency_hz,total_db");
  ASSERT_EQ(rows.size(), 310u);
  EqChannelState state;
  ASSERT_TRUE(loadEqChannelState(image, 2, state));
  for (const CsvRow& r : rows)
    ASSERT_NEAR(r.db, literal::channelPx(state, literal::columnFrequency(r.column, 300), 40), 1e-4)
        << "column " << r.column;
  // A bad channel or a missing file is an error with a message, not a curve.
  const test::CtlRun badChannel = ctl.run("response " + tuned + " --channel 8");
  EXPECT_EQ(badChannel.exitCode, 2);
  EXPECT_EQ(badChannel.out, "");
  const test::CtlRun missing = ctl.run("response nowhere --channel 1");
  EXPECT_EQ(missing.exitCode, 4);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace zr78
