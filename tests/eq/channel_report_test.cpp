#include "eq/channel_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "decimal_comma_locale.h"
#include "eq/eq_model.h"
#include "eq/literal_response.h"
#include "eq/tuned_channel.h"

namespace zr78 {
namespace {

TEST(ResponseCsv, ReproducesTheLiteralCurve) {
  const RegisterImage image = tunedImage();
  EqChannelState state;
  ASSERT_TRUE(loadEqChannelState(image, 2, state));
  EXPECT_EQ(state.q[kFirstBandPoint + 30], kMinDisplayedQ);
  for (auto [w, h] : {std::pair{977, 185}, std::pair{300, 100}}) {
    std::string header;
    const std::vector<CsvRow> rows = parseResponseCsv(responseCsv(image, 2, w, h), header);
    EXPECT_EQ(header, "column,frequency_hz,total_db");
    ASSERT_EQ(rows.size(), static_cast<size_t>(w + 10));
    for (const CsvRow& r : rows) {
      const double f = literal::columnFrequency(r.column, w);
      EXPECT_NEAR(r.hz, f, f * 1e-5);
      const double expectedDb = literal::channelPx(state, f, 40);  // H = 40: px = dB
      ASSERT_NEAR(r.db, expectedDb, 1e-4) << "column " << r.column;
    }
  }
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

TEST(ChannelReport, SameTextUnderADecimalCommaLocale) {
  const std::string csv = responseCsv(tunedImage(), 2, 300, 100);
  const std::string text = describeChannelEq(tunedImage(), 2);
  test::DecimalCommaLocale locale;
  ASSERT_TRUE(locale.active()) << test::kNoDecimalCommaLocale;
  EXPECT_EQ(responseCsv(tunedImage(), 2, 300, 100), csv);
  EXPECT_EQ(describeChannelEq(tunedImage(), 2), text);
}

}  // namespace
}  // namespace zr78
