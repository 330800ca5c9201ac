#include "eq/response_graph_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "eq/eq_model.h"
#include "eq/eq_param_lookup.h"
#include "eq/eq_tables.h"
#include "eq/graph_texts.h"

namespace zr78 {
namespace {

// The graph as the EQ panel configures it, 1067 × 213 at scale 1.
ResponseGraphModel panelGraph(bool geq = true) {
  ResponseGraphModel m;
  m.setScale(1.0);
  m.setBandLimits(20, 20000);
  m.setHighPassLimits(19, 20000);
  m.setLowPassLimits(19, 20000);
  m.setIntegerMode(true);
  m.setChannelCount(8);
  m.setGeqMode(geq);
  m.setPeqMode(!geq);
  m.resize(1067, 213);
  for (int b = 0; b < kBandCount; ++b) {
    m.setBandGain(0, b, 0);
    m.setBandFrequency(DEFAULT_BAND_FREQUENCIES[b], b, 0);
    m.setBandQ(7.6, b, 0);
  }
  m.setCrossoverFrequency(0, 0, Crossover::kHighPass);
  m.setCrossoverFrequency(20000, 0, Crossover::kLowPass);
  return m;
}

struct Centre {
  int x, y;
};
Centre centreOf(const ResponseGraphModel& m, int point) {
  return {m.layout().handleCentreX(m.handle(point).x), m.layout().handleCentreY(m.handle(point).y)};
}

constexpr int kBand5 = kFirstBandPoint + 4;

TEST(ResponseGraphModel, DraggingBand5ToTheTopGivesPlus20WithANoticePerMove) {
  ResponseGraphModel m = panelGraph();
  const Centre c = centreOf(m, kBand5);
  EXPECT_EQ(m.press(c.x, c.y), (GraphNotice{kNoticeBand, 4, false}));
  const PlotGeometry& g = m.layout().plot();
  int notices = 0;
  for (int y = c.y; y >= g.y0 - 30; y -= 5)
    if (m.move(c.x, y) == GraphNotice{kNoticeBand, 4, false}) ++notices;
  EXPECT_EQ(notices, (c.y - (g.y0 - 30)) / 5 + 1);
  EXPECT_EQ(m.currentState().gainDb[kBand5], 20.0);
  EXPECT_EQ(m.handle(kBand5).y, m.layout().yOf(20));
  m.release(c.x, g.y0);
  EXPECT_FALSE(m.dragging());
  EXPECT_EQ(m.labelText(), "F:50 Q:7.60 G:20.0");
}

TEST(ResponseGraphModel, GeqMovesBandsOnlyVerticallyAndCrossoversStillHorizontally) {
  ResponseGraphModel m = panelGraph(true);
  const Centre c = centreOf(m, kBand5);
  m.press(c.x, c.y);
  m.move(c.x + 200, c.y - 40);
  EXPECT_EQ(m.currentState().frequencyHz[kBand5], 50);
  EXPECT_EQ(m.handle(kBand5).x, m.layout().xOf(50));
  EXPECT_GT(m.currentState().gainDb[kBand5], 0);
  m.release(c.x + 200, c.y - 40);

  const Centre lp = centreOf(m, kLowPassPoint);
  m.press(lp.x, lp.y);
  m.move(lp.x - 300, lp.y - 50);
  EXPECT_LT(m.currentState().frequencyHz[kLowPassPoint], 5000);
  EXPECT_EQ(m.handle(kLowPassPoint).y, m.layout().crossoverY());  // stays at −10 dB
  m.release(lp.x - 300, lp.y);

  ResponseGraphModel peq = panelGraph(false);
  const Centre p = centreOf(peq, kBand5);
  peq.press(p.x, p.y);
  peq.move(p.x + 200, p.y);
  EXPECT_GT(peq.currentState().frequencyHz[kBand5], 200);
}

TEST(ResponseGraphModel, HighPassDraggedFarLeftStopsAt19HzAndReadsOff) {
  ResponseGraphModel m = panelGraph();
  m.setCrossoverFrequency(200, 0, Crossover::kHighPass);
  const Centre c = centreOf(m, kHighPassPoint);
  EXPECT_EQ(m.press(c.x, c.y), (GraphNotice{kNoticeHighPass, 0, false}));
  m.move(-500, c.y);
  EXPECT_EQ(m.currentState().frequencyHz[kHighPassPoint], 19);
  EXPECT_EQ(m.handle(kHighPassPoint).x, 0);
  EXPECT_EQ(m.labelText(), "F:OFF");
  // The low-pass the other way stops at its limit.
  m.release(-500, c.y);
  const Centre lp = centreOf(m, kLowPassPoint);
  m.press(lp.x, lp.y);
  m.move(5000, lp.y);
  EXPECT_EQ(m.currentState().frequencyHz[kLowPassPoint], 20000);
}

TEST(ResponseGraphModel, WheelMovesTheLowPassOneHertzPerNotchDownIsHigher) {
  ResponseGraphModel m = panelGraph();
  m.setCrossoverFrequency(1000, 0, Crossover::kLowPass);
  const Centre c = centreOf(m, kLowPassPoint);
  m.press(c.x, c.y);
  m.release(c.x, c.y);
  EXPECT_EQ(m.wheel(false), (GraphNotice{kNoticeLowPass, 0, false}));
  EXPECT_EQ(m.currentState().frequencyHz[kLowPassPoint], 1001);
  m.wheel(true);
  m.wheel(true);
  EXPECT_EQ(m.currentState().frequencyHz[kLowPassPoint], 999);
  m.setCrossoverFrequency(20000, 0, Crossover::kLowPass);
  m.wheel(false);
  EXPECT_EQ(m.currentState().frequencyHz[kLowPassPoint], 20000);  // the limit
  // Off the integer mode the wheel walks the grid.
  m.setIntegerMode(false);
  m.setCrossoverFrequency(1000, 0, Crossover::kLowPass);
  m.wheel(false);
  EXPECT_EQ(m.currentState().frequencyHz[kLowPassPoint], 1020);
}

TEST(ResponseGraphModel, ArrowKeysPushACrossoverPastItsLimits) {
  ResponseGraphModel m = panelGraph();
  const Centre lp = centreOf(m, kLowPassPoint);
  m.press(lp.x, lp.y);
  m.release(lp.x, lp.y);
  for (int i = 0; i < 5; ++i) m.key(GraphKey::kDown);
  EXPECT_EQ(m.currentState().frequencyHz[kLowPassPoint], 20600);
  EXPECT_EQ(m.labelText(), "F:OFF");
  m.setCrossoverFrequency(25, 0, Crossover::kHighPass);
  const Centre hp = centreOf(m, kHighPassPoint);
  m.press(hp.x, hp.y);
  m.release(hp.x, hp.y);
  for (int i = 0; i < 40; ++i) m.key(GraphKey::kUp);
  EXPECT_EQ(m.currentState().frequencyHz[kHighPassPoint], 19);
  EXPECT_EQ(m.key(GraphKey::kUp), (GraphNotice{kNoticeHighPass, 0, false}));
  EXPECT_EQ(m.currentState().frequencyHz[kHighPassPoint], 19);
}

TEST(ResponseGraphModel, GainStepsStayOnTheTenthGrid) {
  ResponseGraphModel m = panelGraph();
  const Centre c = centreOf(m, kBand5);
  m.press(c.x, c.y);
  m.release(c.x, c.y);
  m.setBandGain(1.0, 4, 0);
  m.wheel(false);
  EXPECT_EQ(m.currentState().gainDb[kBand5], 0.9);
  EXPECT_EQ(encodeGain(m.currentState().gainDb[kBand5]), 509);
  EXPECT_EQ(m.handle(kBand5).y, m.layout().yOf(0.9));  // the handle follows the wheel
  m.setBandGain(0, 4, 0);
  for (int i = 0; i < 63; ++i) m.key(GraphKey::kUp);
  EXPECT_EQ(m.currentState().gainDb[kBand5], 6.3);
  EXPECT_EQ(encodeGain(m.currentState().gainDb[kBand5]), 563);
  for (int i = 0; i < 63; ++i) m.key(GraphKey::kDown);
  EXPECT_EQ(m.labelText(), "F:50 Q:7.60 G:0.0");  // not "-0.0"

  // Every dragged gain is a whole number of tenths, and both encodings agree.
  const PlotGeometry& g = m.layout().plot();
  m.press(c.x, c.y);
  for (int y = g.y0 - 3; y <= g.y1 + 3; ++y) {
    m.move(c.x, y);
    const double db = m.currentState().gainDb[kBand5];
    const double tenths = db * 10;
    ASSERT_EQ(tenths, std::trunc(tenths)) << y;
    ASSERT_EQ(encodeGain(db) - 500, static_cast<int>(std::trunc(tenths))) << y;
  }
}

TEST(ResponseGraphModel, LegendTogglesOtherChannelsOnly) {
  ResponseGraphModel m = panelGraph();
  m.selectChannel(2);
  const GraphRect own = m.layout().legendBox(2);
  EXPECT_EQ(m.press(own.left + 3, own.top + 3), std::nullopt);
  EXPECT_FALSE(m.visible(2));
  const GraphRect other = m.layout().legendBox(5);
  const unsigned before = m.backdropRevision();
  EXPECT_EQ(m.press(other.left + 3, other.top + 3), (GraphNotice{kNoticeLegend, 0, true}));
  EXPECT_TRUE(m.visible(5));
  EXPECT_NE(m.backdropRevision(), before);
  m.press(other.left + 3, other.top + 3);
  EXPECT_FALSE(m.visible(5));
}

TEST(ResponseGraphModel, LegendBoxesStackInsideTheClient) {
  const GraphLayout layout(1067, 213, 1.0, 8);
  EXPECT_EQ(layout.legendBox(0), (GraphRect{1019, 5, 40, 15}));
  EXPECT_LE(layout.legendBox(7).bottom(), 213);
  EXPECT_EQ(layout.legendHit(1019 + 20, layout.legendBox(3).top + 7), 3);
  EXPECT_EQ(layout.legendHit(10, 10), -1);
}

TEST(ResponseGraphModel, BackdropChangesOnlyForWhatIsBehindTheCurrentCurve) {
  ResponseGraphModel m = panelGraph();
  m.setVisible(3, true);
  m.recompute();
  const unsigned settled = m.backdropRevision();
  m.setBandGain(6, 10, 0);  // the current channel
  m.recompute();
  EXPECT_EQ(m.backdropRevision(), settled);
  m.setBandGain(6, 10, 5);  // hidden
  m.recompute();
  EXPECT_EQ(m.backdropRevision(), settled);
  m.setBandGain(6, 10, 3);  // shown
  m.recompute();
  EXPECT_NE(m.backdropRevision(), settled);
}

TEST(ResponseGraphModel, QArmsFollowThePointerAndKeepQWhenGrabbed) {
  for (double scale : {1.0, 2.0}) {
    const GraphLayout layout(1067, 213, scale, 8);
    for (int i = 0; i <= 100; ++i)  // 100 and 101 are both 128
      EXPECT_EQ(Q_STEPS[layout.qStepAtDistance(layout.qArmDistance(i))], Q_STEPS[i]) << i;
  }
  ResponseGraphModel m = panelGraph(false);
  const Centre c = centreOf(m, kFirstBandPoint + 17);  // 1 kHz
  m.press(c.x, c.y);
  m.release(c.x, c.y);
  ASSERT_TRUE(m.qArmsShown());
  const GraphRect left = m.qArmCell(false);
  const int armX = left.left + left.width / 2, armY = left.top + left.height / 2;
  EXPECT_EQ(m.press(armX, armY), std::nullopt);
  EXPECT_TRUE(m.armDragged(false));
  EXPECT_EQ(m.move(armX, armY), (GraphNotice{kNoticeBand, 17, false}));
  EXPECT_EQ(m.currentState().q[kFirstBandPoint + 17], 7.6);
  m.move(armX - 30, armY);  // away from the handle: a lower Q
  const double lower = m.currentState().q[kFirstBandPoint + 17];
  EXPECT_LT(lower, 7.6);
  EXPECT_EQ(m.release(armX - 30, armY), (GraphNotice{kNoticeBand, 17, false}));
  EXPECT_EQ(m.currentState().q[kFirstBandPoint + 17], lower);
  EXPECT_EQ(m.qArmCell(false).left, left.left - 30);  // the arm sits under the pointer

  // In GEQ mode the arms are not drawn and cannot be grabbed.
  m.setPeqMode(false);
  m.setGeqMode(true);
  EXPECT_FALSE(m.qArmsShown());
  m.press(m.qArmCell(false).left + 5, armY);
  EXPECT_FALSE(m.armDragged(false));
}

TEST(ResponseGraphModel, ValuesAreClampedBeforeTheyReachTheCurve) {
  ResponseGraphModel m = panelGraph();
  m.setBandQ(0, 3, 0);
  EXPECT_EQ(m.currentState().q[kFirstBandPoint + 3], 0.4);
  m.setBandQ(std::numeric_limits<double>::quiet_NaN(), 4, 0);
  EXPECT_EQ(m.currentState().q[kBand5], 0.4);
  m.setBandQ(1000, 5, 0);
  EXPECT_EQ(m.currentState().q[kFirstBandPoint + 5], 128);
  m.setBandGain(6, 4, 0);
  m.setBandFrequency(5, 4, 0);
  EXPECT_EQ(m.currentState().frequencyHz[kBand5], 20);
  m.setBandGain(99, 6, 0);
  EXPECT_EQ(m.currentState().gainDb[kFirstBandPoint + 6], 20);
  const Centre c = centreOf(m, kBand5);
  m.move(c.x, c.y);  // hover: the label shows the band
  EXPECT_EQ(m.labelText(), "F:20 Q:0.40 G:6.0");
  m.recompute();
  for (const PlotPoint& p : m.polyline(0)) ASSERT_GT(p.y, -100000);
  // Codes outside 8..31 and 40..69 are ignored; odd codes are the low-pass's.
  m.setCrossoverCode(20, 0);
  m.setCrossoverCode(21, 0);
  for (int code : {7, 32, 39, 70}) {
    m.setCrossoverCode(code, 0);
    EXPECT_EQ(m.currentState().type[kHighPassPoint], 20);
    EXPECT_EQ(m.currentState().type[kLowPassPoint], 21);
  }
  m.setCrossoverCode(31, 0);
  EXPECT_EQ(m.currentState().type[kLowPassPoint], 31);
  EXPECT_EQ(m.selectedPoint(), kLowPassPoint);
  m.setCrossoverCode(40, 0);
  EXPECT_EQ(m.currentState().type[kHighPassPoint], 40);
  EXPECT_EQ(m.selectedPoint(), kHighPassPoint);
}

TEST(ResponseGraphModel, HoverSetsTheLabelPoint) {
  ResponseGraphModel m = panelGraph();
  const Centre c = centreOf(m, kFirstBandPoint + 17);
  m.move(c.x + 3, c.y - 3);
  EXPECT_TRUE(m.hovering());
  EXPECT_EQ(m.labelPoint(), kFirstBandPoint + 17);
  m.move(c.x, c.y + 60);
  EXPECT_FALSE(m.hovering());
  EXPECT_EQ(m.labelPoint(), kFirstBandPoint + 17);
}

TEST(GraphTexts, Labels) {
  EXPECT_EQ(bandLabelText(63, 7.6, -3.25, true), "F:63 Q:7.60 G:-3.2");
  EXPECT_EQ(bandLabelText(63.4, 12, 0, false), "F:63.4 Q:12.00 G:0.0");
  EXPECT_EQ(crossoverLabelText(19.6, true), "F:OFF");
  EXPECT_EQ(crossoverLabelText(20600, true), "F:OFF");
  EXPECT_EQ(crossoverLabelText(20000, true), "F:20000");
  EXPECT_EQ(crossoverLabelText(80.5, false), "F:80.5");
  EXPECT_EQ(handleText(0), "H");
  EXPECT_EQ(handleText(1), "L");
  EXPECT_EQ(handleText(32), "31");
  EXPECT_EQ(legendText(7), "CH8");
  EXPECT_EQ(GraphLayout::gainLabel(4), "0db");
  EXPECT_EQ(GraphLayout::gainLabel(1), "");
}

TEST(EqParamLookup, EveryEqRegisterNamesItsParameterAndNothingElseDoes) {
  int found = 0;
  for (int a = 0; a < kRegisterCount; ++a) {
    const auto at = eqParamAt(a);
    if (!at) continue;
    ++found;
    EXPECT_EQ(eqRegisterAddress(at->channel, at->param), a) << a;
    EXPECT_NE(at->param, EqParamIndex::kHighPassSlope);
    EXPECT_NE(at->param, EqParamIndex::kLowPassSlope);
  }
  EXPECT_EQ(found, kChannelCount * (EqParamIndex::kCount - 2));
  for (int a : {-1, 0, 140, 144, 146, 1677, 1678}) EXPECT_EQ(eqParamAt(a), std::nullopt) << a;
  EXPECT_EQ(eqParamAt(148 + 136 * 3 + 16), (EqParamAt{3, EqParamIndex::kBandGain + 4}));
  EXPECT_EQ(eqParamAt(86 + 7 * 7), (EqParamAt{7, EqParamIndex::kLimiterThreshold}));
}

}  // namespace
}  // namespace zr78
