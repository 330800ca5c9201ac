#include "eq/channel_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "eq/eq_model.h"
#include "literal_response.h"
#include "presets/preset_file.h"
#include "temp_dir.h"

namespace zr78 {
namespace {

// The default image with channel 2 tuned: a Bessel 24 dB/Oct high-pass at
// 120 Hz, a Linkwitz-Riley 48 dB/Oct low-pass at 3150 Hz, three bands moved.
RegisterImage tunedImage() {
  RegisterImage r = defaultRegisterImage();
  const int c = 2;
  using namespace EqParamIndex;
  r[*eqRegisterAddress(c, kHighPassCode)] = 22;
  r[*eqRegisterAddress(c, kHighPassFrequency)] = encodeFrequency(120);
  r[*eqRegisterAddress(c, kLowPassCode)] = 31;
  r[*eqRegisterAddress(c, kLowPassFrequency)] = encodeFrequency(3150);
  r[*eqRegisterAddress(c, kBandGain + 4)] = encodeGain(6);
  r[*eqRegisterAddress(c, kBandQ + 4)] = encodeQ(2.4);
  r[*eqRegisterAddress(c, kBandGain + 20)] = encodeGain(-12.5);
  r[*eqRegisterAddress(c, kBandFrequency + 20)] = encodeFrequency(1800);
  r[*eqRegisterAddress(c, kBandGain + 30)] = encodeGain(3);
  r[*eqRegisterAddress(c, kBandQ + 30)] = 0;  // Q word 0: clamped, not NaN
  return r;
}

struct Row {
  int column;
  double hz, db;
};

std::vector<Row> parse(const std::string& csv, std::string& header) {
  std::istringstream in(csv);
  std::getline(in, header);
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    Row r{};
    char comma1, comma2;
    std::istringstream fields(line);
    fields >> r.column >> comma1 >> r.hz >> comma2 >> r.db;
    rows.push_back(r);
  }
  return rows;
}

TEST(ResponseCsv, ReproducesTheLiteralCurve) {
  const RegisterImage image = tunedImage();
  EqChannelState state;
  ASSERT_TRUE(loadEqChannelState(image, 2, state));
  EXPECT_EQ(state.q[kFirstBandPoint + 30], kMinDisplayedQ);
  for (auto [w, h] : {std::pair{977, 185}, std::pair{300, 100}}) {
    std::string header;
    const std::vector<Row> rows = parse(responseCsv(image, 2, w, h), header);
    EXPECT_EQ(header, "column,frequency_hz,total_db");
    ASSERT_EQ(rows.size(), static_cast<size_t>(w + 10));
    for (const Row& r : rows) {
      const double f = literal::columnFrequency(r.column, w);
      EXPECT_NEAR(r.hz, f, f * 1e-5);
      const double expectedDb = literal::channelPx(state, f, 40);  // H = 40: px = dB
      ASSERT_NEAR(r.db, expectedDb, 1e-4) << "column " << r.column;
    }
  }
}

// The command-line tool on a preset file with the same settings.
TEST(ResponseCtl, PresetFileGivesTheLiteralCurve) {
  namespace fs = std::filesystem;
  const test::TempDir temp("zr78-response-ctl-");
  const fs::path& dir = temp.path();
  const RegisterImage image = tunedImage();
  CZB_FileData file(Folders{dir, dir, "zr78ctl", dir});
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
  const std::vector<Row> rows = parse(csv.str(), header);
  EXPECT_EQ(header, "column,frequency_hz,total_db");
  ASSERT_EQ(rows.size(), 310u);
  EqChannelState state;
  ASSERT_TRUE(loadEqChannelState(image, 2, state));
  for (const Row& r : rows)
    ASSERT_NEAR(r.db, literal::channelPx(state, literal::columnFrequency(r.column, 300), 40), 1e-4)
        << "column " << r.column;
  // A bad channel is an error with a message, not a curve.
  EXPECT_NE(std::system((std::string("\"") + ZR78CTL_PATH + "\" response \"" + (dir / "tuned.ryb").string() +
                         "\" --channel 8 2>/dev/null >/dev/null").c_str()),
            0);
}

TEST(ResponseCsv, RejectsBadChannelsAndPlots) {
  const RegisterImage image = defaultRegisterImage();
  EXPECT_EQ(responseCsv(image, 8, 977, 185), "");
  EXPECT_EQ(responseCsv(image, -1, 977, 185), "");
  EXPECT_EQ(responseCsv(image, 0, 0, 185), "");
  EXPECT_EQ(responseCsv(image, 0, 977, 0), "");
}

TEST(DescribeChannelEq, EngineeringUnits) {
  const std::string text = describeChannelEq(tunedImage(), 2);
  for (const char* expected : {
           "CH3\n",
           "  high-pass: Bessel 24dB/Oct, 120 Hz\n",
           "  low-pass: Linkwitz-Riley 48dB/Oct, 3150 Hz\n",
           "  band  1: 20.1 Hz, Q 12.67, +0.0 dB\n",
           "  band  5: 50.6 Hz, Q 2.38, +6.0 dB\n",
           "  band 21: 1800 Hz, Q 12.67, -12.5 dB\n",
           "  band 31: 20200 Hz, Q 0.00, +3.0 dB\n",
           "  limiter: threshold +2.5 dBu, attack 45.0 ms, release Atk*8\n",
       })
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin:\n" << text;
  // The defaults: a 10 Hz high-pass is below the panel's limits.
  const std::string defaults = describeChannelEq(defaultRegisterImage(), 6);
  EXPECT_NE(defaults.find("  high-pass: Butterworth 24dB/Oct, 10 Hz (inactive)\n"
                          "  low-pass: Butterworth 24dB/Oct, 20600 Hz (inactive)\n"),
            std::string::npos)
      << defaults;
  EXPECT_EQ(describeChannelEq(defaultRegisterImage(), 8), "");
}

}  // namespace
}  // namespace zr78
