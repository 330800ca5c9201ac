#include "eq/response_set.h"

#include <gtest/gtest.h>

namespace zr78 {
namespace {

EqChannelState boosted(double gainDb) {
  EqChannelState s;
  for (int b = 0; b < kBandCount; ++b) s.frequencyHz[kFirstBandPoint + b] = 1000;
  s.gainDb[kFirstBandPoint] = gainDb;
  return s;
}

class ResponseSetTest : public ::testing::Test {
 protected:
  ResponseSetTest() { set.setGeometry(eqPanelPlotGeometry(1.0)); }
  ResponseSet set;
};

TEST_F(ResponseSetTest, CurrentChannelAlwaysOthersWhenVisibleAndStale) {
  ASSERT_EQ(set.recompute(0), 1);  // channel 0 stale but hidden ones are skipped
  set.setState(3, boosted(6));     // hidden: stays stale
  set.setState(4, boosted(6));
  set.setVisible(4, true);
  EXPECT_EQ(set.recompute(0), 2);  // current + visible stale 4
  EXPECT_TRUE(set.stale(3));
  EXPECT_FALSE(set.stale(4));
  EXPECT_EQ(set.recompute(0), 1);  // 4 is fresh now: only the current channel
  EXPECT_GT(set.polyline(4).size(), 2u);
  EXPECT_TRUE(set.polyline(3).empty());
  set.setVisible(3, true);
  EXPECT_EQ(set.recompute(0), 2);
  EXPECT_GT(set.polyline(3).size(), 2u);
}

TEST_F(ResponseSetTest, ResizeMarksEveryChannelStale) {
  for (int c = 0; c < kChannelCount; ++c) set.setVisible(c, true);
  set.recompute(0);
  set.setGeometry(eqPanelPlotGeometry(2.0));
  for (int c = 0; c < kChannelCount; ++c) EXPECT_TRUE(set.stale(c)) << c;
  EXPECT_EQ(set.recompute(0), kChannelCount);
  EXPECT_EQ(set.totalsPx(7).size(), static_cast<size_t>(set.geometry().W + 10));
}

TEST_F(ResponseSetTest, ChannelsOutsideTheCountAreRejected) {
  EXPECT_FALSE(set.setState(8, boosted(3)));
  EXPECT_FALSE(set.setVisible(8, true));
  EXPECT_FALSE(set.markStale(-1));
  EXPECT_FALSE(set.recomputeChannel(8));
  EXPECT_EQ(set.state(8), nullptr);
  EXPECT_TRUE(set.polyline(8).empty());
  EXPECT_TRUE(set.totalsPx(20).empty());
  EXPECT_EQ(set.recompute(9), 0);
}

}  // namespace
}  // namespace zr78
