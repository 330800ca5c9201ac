#include "eq/plot_geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace zr78 {
namespace {

TEST(PlotGeometry, EqPanelGraph) {
  const PlotGeometry g1 = eqPanelPlotGeometry(1.0);
  EXPECT_EQ(g1.x0, 30);
  EXPECT_EQ(g1.y0, 10);
  EXPECT_EQ(g1.x1, 1067 - 60);
  EXPECT_EQ(g1.y1, 213 - 18);
  EXPECT_EQ(g1.W, 977);
  EXPECT_EQ(g1.H, 185);
  EXPECT_EQ(g1.yZero, 102);  // trunc(10 + 92.5)
  const PlotGeometry g2 = eqPanelPlotGeometry(2.0);
  EXPECT_EQ(g2.W, 2134 - 120 - 60);
  EXPECT_EQ(g2.H, 426 - 36 - 20);
  const PlotGeometry noLegend = makePlotGeometry(5, 7, 405, 207, 1.5, false);
  EXPECT_EQ(noLegend.x0, 5 + 45);
  EXPECT_EQ(noLegend.x1, 405 - 24);
  EXPECT_EQ(noLegend.y0, 7 + 15);
  EXPECT_EQ(noLegend.y1, 207 - 27);
  const PlotGeometry sized = plotGeometryOfSize(300, 100);
  EXPECT_EQ(sized.W, 300);
  EXPECT_EQ(sized.H, 100);
}

TEST(PlotGeometry, FrequencyAndXShareOneMapping) {
  const int w = 977;
  EXPECT_EQ(xOfFrequency(19, w), 0);
  EXPECT_EQ(xOfFrequency(20600, w), w);
  for (int x = 0; x <= w; x += 7) {
    // The frequency of a column maps back to that column (or just below it,
    // where truncation meets rounding).
    const int back = xOfFrequency(frequencyOfX(x + 0.5, w), w);
    EXPECT_EQ(back, x) << x;
  }
  EXPECT_EQ(xOfFrequency(0, w), 0);
  EXPECT_EQ(xOfFrequency(std::numeric_limits<double>::infinity(), w), 1000000);
}

TEST(PlotGeometry, GainToY) {
  EXPECT_EQ(yOfGain(20, 185), -92);  // −trunc(185/400 × 200)
  EXPECT_EQ(yOfGain(-10, 185), 46);
  EXPECT_EQ(yOfGain(0, 185), 0);
  EXPECT_DOUBLE_EQ(pixelsPerDb(185), 4.625);
  EXPECT_EQ(crossoverHandleY(185), 46);
}

TEST(PlotGeometry, DraggedGain) {
  for (int h : {185, 186, 370}) {
    const PlotGeometry g = plotGeometryOfSize(977, h);
    EXPECT_EQ(gainOfY(g.y0 - g.yZero, h), 20.0) << h;   // top edge, clamped
    EXPECT_EQ(gainOfY(g.y1 - g.yZero, h), -20.0) << h;  // bottom edge
    EXPECT_EQ(gainOfY(0, h), 0.0);
  }
  EXPECT_NEAR(gainOfY(-46, 185), 10.0, 1e-12);  // 46 / (184 / 400) = 100 tenths
  EXPECT_EQ(gainOfY(5, 1), 0.0);
}

TEST(PlotGeometry, Quantising) {
  struct Row {
    const char* name;
    double hz;
    bool integerMode;
    double expected;
  } rows[] = {
      {"integer rounds half up", 99.5, true, 100},  {"integer rounds down", 99.4, true, 99},
      {"grid below axis", 10, false, 19},           {"grid exact", 1000, false, 1000},
      {"grid next value up", 1001, false, 1020},    {"grid between tenths", 19.1, false, 19.7},
      {"grid above the last", 30000, false, 20600},
  };
  for (const Row& r : rows) EXPECT_EQ(quantiseFrequency(r.hz, r.integerMode), r.expected) << r.name;
}

}  // namespace
}  // namespace zr78
