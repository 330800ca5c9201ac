#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "eq/literal_response.h"
#include "eq/tuned_channel.h"
#include "presets/preset_file.h"
#include "temp_dir.h"

namespace zr78 {
namespace {

// The command-line tool on a preset file with the same settings.
TEST(ResponseCtl, PresetFileGivesTheLiteralCurve) {
  namespace fs = std::filesystem;
  const test::TempDir temp("zr78-response-ctl-");
  const fs::path& dir = temp.path();
  const RegisterImage image = tunedImage();
  PresetFile file(Folders{dir, dir, "zr78ctl", dir});
  file.header.deviceId = 4037;
  ASSERT_EQ(file.writeImage((dir / "tuned.ryb").string(), image), FileResult::Ok);
  const fs::path out = dir / "response.csv";
  const std::string command = std::string("\"") + ZR78CTL_PATH + "\" response \"" + (dir / "tuned.ryb").string() +
                              "\" --channel 2 --width 300 --height 100 >\"" + out.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(out);
  std::stringstream csv;
  csv << in.rdbuf();
  std::string header;
  const std::vector<CsvRow> rows = parseResponseCsv(csv.str(), header);
  EXPECT_EQ(header, "column,frequency_hz,total_db");
  ASSERT_EQ(rows.size(), 310u);
  EqChannelState state;
  ASSERT_TRUE(loadEqChannelState(image, 2, state));
  for (const CsvRow& r : rows)
    ASSERT_NEAR(r.db, literal::channelPx(state, literal::columnFrequency(r.column, 300), 40), 1e-4)
        << "column " << r.column;
  // A bad channel is an error with a message, not a curve.
  EXPECT_NE(std::system((std::string("\"") + ZR78CTL_PATH + "\" response \"" + (dir / "tuned.ryb").string() +
                         "\" --channel 8 2>/dev/null >/dev/null").c_str()),
            0);
}

}  // namespace
}  // namespace zr78
