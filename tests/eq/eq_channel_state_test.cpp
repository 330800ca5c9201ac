#include "eq/eq_channel_state.h"

#include <gtest/gtest.h>

#include "eq/eq_model.h"

namespace zr78 {
namespace {

TEST(EqChannelState, InitialContents) {
  const EqChannelState s;
  EXPECT_EQ(s.type[kHighPassPoint], 7);
  EXPECT_EQ(s.gainDb[kHighPassPoint], -10);
  EXPECT_EQ(s.gainDb[kLowPassPoint], -10);
  EXPECT_EQ(s.gainDb[kFirstBandPoint], 0);
  EXPECT_EQ(s.frequencyHz[32], 0);
  EXPECT_EQ(s.q[32], 7.6);
}

TEST(EqChannelState, LoadsFromATableOrAnImage) {
  RegisterTable table;
  table.initRegisters();
  table.setRegisterQuiet(148 + 136 * 4 + 4 * 30, 65535);  // band 31 gain beyond range
  table.setRegisterQuiet(149 + 136 * 4, 0x8000);          // band 1 Q word 0 (thousandths)
  RegisterImage image{};
  for (int a = 0; a < kRegisterCount; ++a) image[a] = table.getRegister(a);
  EqChannelState fromTable, fromImage;
  ASSERT_TRUE(loadEqChannelState(table, 4, fromTable));
  ASSERT_TRUE(loadEqChannelState(image, 4, fromImage));
  for (const EqChannelState* s : {&fromTable, &fromImage}) {
    EXPECT_EQ(s->type[kHighPassPoint], 14);
    EXPECT_EQ(s->frequencyHz[kHighPassPoint], 315);
    EXPECT_EQ(s->type[kLowPassPoint], 15);
    EXPECT_EQ(s->frequencyHz[kLowPassPoint], 1500);
    EXPECT_DOUBLE_EQ(s->frequencyHz[kFirstBandPoint], 20.1);
    EXPECT_EQ(s->q[kFirstBandPoint], kMinDisplayedQ);
    EXPECT_EQ(s->gainDb[32], kMaxGainDb);
    EXPECT_EQ(s->type[32], kPeakingShape);
  }
}

TEST(EqChannelState, ChannelAboveSevenIsRejected) {
  EqChannelState s;
  s.frequencyHz[5] = 123;
  EXPECT_FALSE(loadEqChannelState(defaultRegisterImage(), 8, s));
  EXPECT_FALSE(loadEqChannelState(defaultRegisterImage(), -1, s));
  EXPECT_EQ(s.frequencyHz[5], 123);
}

}  // namespace
}  // namespace zr78
