#include "eq/response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "eq/eq_model.h"
#include "eq/eq_tables.h"
#include "literal_response.h"

namespace zr78 {
namespace {

// A channel with both crossovers inactive (panel limits) and all bands flat.
EqChannelState flatChannel() {
  EqChannelState s;
  s.type[kHighPassPoint] = 14;
  s.frequencyHz[kHighPassPoint] = 19;
  s.type[kLowPassPoint] = 15;
  s.frequencyHz[kLowPassPoint] = 20000;
  for (int b = 0; b < kBandCount; ++b)
    s.frequencyHz[kFirstBandPoint + b] = DEFAULT_BAND_FREQUENCIES[b];
  return s;
}

class ResponseTest : public ::testing::Test {
 protected:
  ResponseTest() : evaluator(panelCrossoverLimits()), geometry(eqPanelPlotGeometry(1.0)) {
    evaluator.setPlotWidth(geometry.W);
  }
  std::vector<double> db(const EqChannelState& s) {
    std::vector<double> out(evaluator.columnCount());
    evaluator.evaluate(s, 1.0, out.data());
    return out;
  }
  int nearestColumn(double hz) const {
    int best = 0;
    for (int i = 1; i < evaluator.columnCount(); ++i)
      if (std::abs(evaluator.columnFrequencyHz(i) - hz) <
          std::abs(evaluator.columnFrequencyHz(best) - hz))
        best = i;
    return best;
  }
  static bool allZero(const std::vector<double>& v) {
    for (double x : v)
      if (x != 0) return false;
    return true;
  }
  // dB of the evaluator's sections for a state at any frequency.
  double sectionsDb(const EqChannelState& s, double hz) {
    std::vector<BiquadSection> sections;
    evaluator.sectionsOf(s, sections);
    double total = 0;
    for (const BiquadSection& b : sections)
      total += 10 * std::log10(b.magnitudeSquared(radiansPerSample(hz)));
    return total;
  }

  ResponseEvaluator evaluator;
  PlotGeometry geometry;
};

TEST_F(ResponseTest, ColumnsSpanTheAxisAndTenMore) {
  EXPECT_EQ(evaluator.columnCount(), geometry.W + 10);
  EXPECT_DOUBLE_EQ(evaluator.columnFrequencyHz(0), 19);
  EXPECT_NEAR(evaluator.columnFrequencyHz(geometry.W), 20600, 1e-6);
  evaluator.setPlotWidth(0);
  EXPECT_EQ(evaluator.columnCount(), 0);
}

TEST_F(ResponseTest, FlatChannelIsTheTwoPointLineAtYZero) {
  const std::vector<double> v = db(flatChannel());
  ASSERT_TRUE(allZero(v));
  std::vector<PlotPoint> line;
  buildPolyline(v.data(), static_cast<int>(v.size()), geometry, line);
  EXPECT_EQ(line, (std::vector<PlotPoint>{{geometry.x0 - 1, geometry.yZero},
                                          {geometry.right, geometry.yZero}}));
}

TEST_F(ResponseTest, ButterworthHighPassCornerAndOctaveBelow) {
  EqChannelState s = flatChannel();
  s.type[kHighPassPoint] = 8;
  s.frequencyHz[kHighPassPoint] = 1000;
  EXPECT_NEAR(sectionsDb(s, 1000), -3.01, 0.05);
  EXPECT_NEAR(sectionsDb(s, 500), -12.3, 0.5);
  const std::vector<double> v = db(s);
  EXPECT_NEAR(v[nearestColumn(1000)], -3.0, 0.15);
  EXPECT_NEAR(v[nearestColumn(500)], -12.3, 0.5);
}

TEST_F(ResponseTest, CrossoverActivityAtTheLimits) {
  struct Row {
    const char* name;
    int point, code;
    double hz;
    bool active;
  } rows[] = {
      {"high-pass at 19 Hz", kHighPassPoint, 8, 19, false},
      {"high-pass at 20 Hz", kHighPassPoint, 8, 20, true},
      {"high-pass at 20000 Hz", kHighPassPoint, 8, 20000, true},
      {"high-pass above the limit", kHighPassPoint, 8, 20001, false},
      {"low-pass at 20000 Hz", kLowPassPoint, 9, 20000, false},
      {"low-pass at 19999 Hz", kLowPassPoint, 9, 19999, true},
      {"low-pass at 19 Hz", kLowPassPoint, 9, 19, false},
      {"low-pass at 20 Hz", kLowPassPoint, 9, 20, true},
  };
  for (const Row& r : rows) {
    EqChannelState s = flatChannel();
    s.type[r.point] = r.code;
    s.frequencyHz[r.point] = r.hz;
    EXPECT_EQ(!allZero(db(s)), r.active) << r.name;
  }
}

TEST_F(ResponseTest, OffAndUnknownCodesContributeNothing) {
  for (int code : {64, 65, 66, 67, 68, 69, 0, 7, 32, 39, 70, 1000, -3}) {
    EqChannelState s = flatChannel();
    s.type[kHighPassPoint] = code;
    s.frequencyHz[kHighPassPoint] = 1000;
    s.type[kLowPassPoint] = code;
    s.frequencyHz[kLowPassPoint] = 1000;
    EXPECT_TRUE(allZero(db(s))) << code;
  }
}

TEST_F(ResponseTest, SixDbBandPeaksThreeTwentiethsOfTheHeightAboveZero) {
  EqChannelState s = flatChannel();
  const int point = kFirstBandPoint + 17;  // band 18 at 1000 Hz
  s.gainDb[point] = 6;
  std::vector<double> px(evaluator.columnCount());
  evaluator.evaluate(s, pixelsPerDb(geometry.H), px.data());
  const int column = nearestColumn(1000);
  EXPECT_NEAR(sectionsDb(s, 1000), 6.0, 1e-9);
  EXPECT_NEAR(px[column], 3.0 * geometry.H / 20, 1.0);
  std::vector<PlotPoint> line;
  buildPolyline(px.data(), static_cast<int>(px.size()), geometry, line);
  int top = geometry.yZero;
  for (const PlotPoint& p : line) top = std::min(top, p.y);
  EXPECT_NEAR(geometry.yZero - top, 3.0 * geometry.H / 20, 1.0);
}

// Every family and slope falls by 6·n dB per octave in its stop band,
// measured three to four octaves from a 2 kHz high-pass or a 100 Hz low-pass.
TEST_F(ResponseTest, EveryCodeHasItsNominalStopBandSlope) {
  for (int family = 0; family < kCrossoverFamilyCount; ++family) {
    for (int slope = 0; slope < kCrossoverSlopeCount; ++slope) {
      for (auto direction : {CrossoverDirection::HighPass, CrossoverDirection::LowPass}) {
        const int code = *crossoverCode(direction, family, slope);
        const bool highPass = direction == CrossoverDirection::HighPass;
        const double corner = highPass ? 2000 : 100;
        EqChannelState s = flatChannel();
        s.type[highPass ? kHighPassPoint : kLowPassPoint] = code;
        s.frequencyHz[highPass ? kHighPassPoint : kLowPassPoint] = corner;
        const double three = highPass ? corner / 8 : corner * 8;
        const double four = highPass ? corner / 16 : corner * 16;
        const double fall = sectionsDb(s, three) - sectionsDb(s, four);
        const double nominal = slope == kCrossoverSlopeOff ? 0 : 6.0 * (slope + 1);
        EXPECT_NEAR(fall, nominal, 0.5) << "code " << code;
        // The column evaluation agrees with the sections at the columns.
        const std::vector<double> v = db(s);
        const int c = nearestColumn(three);
        EXPECT_NEAR(v[c], sectionsDb(s, evaluator.columnFrequencyHz(c)), 1e-9) << "code " << code;
      }
    }
  }
}

// At its corner each second-order section gives exactly its quality factor
// √p and a first-order section 1/√2, so the families have known corner
// attenuations: Butterworth −3 dB, Linkwitz-Riley −6 dB (one first-order
// section: −3 dB), Bessel −3 dB per first-order and −4.77 dB per section.
TEST_F(ResponseTest, EveryCodeHasItsFamilysCornerAttenuation) {
  const double expected[kCrossoverFamilyCount][kCrossoverSlopeCount - 1] = {
      {-3.01, -3.01, -3.01, -3.01, -3.01, -3.01, -3.01, -3.01},
      {-3.01, -4.77, -7.78, -9.54, -12.55, -14.31, -17.32, -19.08},
      {-3.01, -6.02, -6.02, -6.02, -6.02, -6.02, -6.02, -6.02},
  };
  for (int family = 0; family < kCrossoverFamilyCount; ++family) {
    for (int slope = 0; slope < kCrossoverSlopeOff; ++slope) {
      for (auto direction : {CrossoverDirection::HighPass, CrossoverDirection::LowPass}) {
        const int code = *crossoverCode(direction, family, slope);
        const int point =
            direction == CrossoverDirection::HighPass ? kHighPassPoint : kLowPassPoint;
        EqChannelState s = flatChannel();
        s.type[point] = code;
        s.frequencyHz[point] = 1000;
        EXPECT_NEAR(sectionsDb(s, 1000), expected[family][slope], 0.02) << "code " << code;
      }
    }
  }
}

// Channels of the kind the panel produces, and a few extremes.
std::vector<EqChannelState> sampleChannels() {
  std::vector<EqChannelState> out;
  EqChannelState worst = flatChannel();
  worst.type[kHighPassPoint] = 30;  // Linkwitz-Riley 48 dB/Oct
  worst.frequencyHz[kHighPassPoint] = 80;
  worst.type[kLowPassPoint] = 27;  // Butterworth 48 dB/Oct
  worst.frequencyHz[kLowPassPoint] = 5000;
  for (int b = 0; b < kBandCount; ++b) {
    worst.gainDb[kFirstBandPoint + b] = (b % 2 ? -1 : 1) * (1.5 + b % 9 * 2);
    worst.q[kFirstBandPoint + b] = Q_STEPS[(b * 37) % 101];
  }
  out.push_back(worst);
  EqChannelState extremes = flatChannel();
  extremes.type[kHighPassPoint] = 62;  // LR 42
  extremes.frequencyHz[kHighPassPoint] = 20000;
  extremes.type[kLowPassPoint] = 55;  // Bessel 36
  extremes.frequencyHz[kLowPassPoint] = 20;
  for (int b = 0; b < kBandCount; ++b) {
    extremes.gainDb[kFirstBandPoint + b] = b % 2 ? 20 : -20;
    extremes.q[kFirstBandPoint + b] = b % 3 ? 128 : 0.4;
    extremes.frequencyHz[kFirstBandPoint + b] = b < 15 ? 20 : 20000;
  }
  out.push_back(extremes);
  // Every band at its sharpest cut on one frequency: the deepest products.
  EqChannelState sharpest = flatChannel();
  for (int b = 0; b < kBandCount; ++b) {
    sharpest.frequencyHz[kFirstBandPoint + b] = 20;
    sharpest.q[kFirstBandPoint + b] = 128;
    sharpest.gainDb[kFirstBandPoint + b] = -20;
  }
  out.push_back(sharpest);
  EqChannelState narrow = flatChannel();
  narrow.type[kHighPassPoint] = 40;
  narrow.frequencyHz[kHighPassPoint] = 31;
  narrow.type[kLowPassPoint] = 59;  // Butterworth 42
  narrow.frequencyHz[kLowPassPoint] = 14999;
  narrow.gainDb[kFirstBandPoint + 4] = 0.1;
  narrow.gainDb[kFirstBandPoint + 30] = -0.1;
  out.push_back(narrow);
  return out;
}

TEST_F(ResponseTest, MatchesTheLiteralFormulaWithinAHundredthOfAPixel) {
  const std::vector<EqChannelState> channels = sampleChannels();
  for (double scale : {1.0, 2.0}) {
    const PlotGeometry g = eqPanelPlotGeometry(scale);
    evaluator.setPlotWidth(g.W);
    std::vector<double> px(evaluator.columnCount());
    for (size_t n = 0; n < channels.size(); ++n) {
      evaluator.evaluate(channels[n], pixelsPerDb(g.H), px.data());
      double worst = 0;
      for (int i = 0; i < evaluator.columnCount(); ++i) {
        const double expected =
            literal::channelPx(channels[n], literal::columnFrequency(i, g.W), g.H);
        worst = std::max(worst, std::abs(px[i] - expected));
      }
      EXPECT_LT(worst, 0.01) << "channel sample " << n << " at scale " << scale;
    }
  }
}

TEST_F(ResponseTest, NarrowPlotsPastNyquistStayFinite) {
  for (int width : {1, 2, 3, 5, 8}) {
    evaluator.setPlotWidth(width);
    for (const EqChannelState& s : sampleChannels()) {
      std::vector<double> px(evaluator.columnCount());
      evaluator.evaluate(s, pixelsPerDb(100), px.data());
      for (double v : px) EXPECT_TRUE(std::isfinite(v)) << "width " << width;
    }
  }
}

TEST_F(ResponseTest, ZeroQAndAbsurdValuesAreClampedNotNaN) {
  EqChannelState s = flatChannel();
  s.gainDb[kFirstBandPoint + 10] = 6;
  EqChannelState zeroQ = s;
  zeroQ.q[kFirstBandPoint + 10] = 0;
  EqChannelState minQ = s;
  minQ.q[kFirstBandPoint + 10] = kMinDisplayedQ;
  EXPECT_EQ(db(zeroQ), db(minQ));
  EqChannelState absurd = s;
  absurd.gainDb[kFirstBandPoint + 11] = 6503.5;  // gain word 65535
  absurd.frequencyHz[kFirstBandPoint + 12] = 32767;
  absurd.gainDb[kFirstBandPoint + 12] = 3;
  absurd.gainDb[kFirstBandPoint + 13] = std::nan("");
  for (double v : db(absurd)) ASSERT_TRUE(std::isfinite(v));
}

TEST(Polyline, AppendsOnlyWhenYChanges) {
  const PlotGeometry g = plotGeometryOfSize(6, 40);
  const double px[] = {0.4, 1.2, 1.9, -0.5, -1.5, -1.2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<PlotPoint> line;
  buildPolyline(px, 16, g, line);
  const int z = g.yZero;
  EXPECT_EQ(line, (std::vector<PlotPoint>{{g.left, z},
                                          {g.x0 + 1, z - 1},
                                          {g.x0 + 3, z},
                                          {g.x0 + 4, z + 1},
                                          {g.x0 + 6, z},
                                          {g.right, z}}));
}

}  // namespace
}  // namespace zr78
