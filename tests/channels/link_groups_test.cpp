#include "channels/link_groups.h"

#include <gtest/gtest.h>

#include <vector>

#include "eq/eq_model.h"
#include "registers/register_table.h"
#include "register_fixture.h"

namespace zr78 {
namespace {

// A table with the defaults, all records clean, and channels 0, 1, 2 linked
// with channel 0 as head (as after pressing link button 1 and clicking 2, 3).
class LinkGroupsTest : public RegisterFixture {
 protected:
  LinkGroupsTest() {
    for (int c : {0, 1, 2}) groups.setGroup(c, 1);
  }
  int dirtyCount() const { return static_cast<int>(dirtyAddresses().size()); }
  int address(int channel, int param) { return *eqRegisterAddress(channel, param); }

  LinkGroups groups;
};

TEST_F(LinkGroupsTest, BandGainReachesEveryMember) {
  const int param = EqParamIndex::kBandGain + 4;  // band 5
  table.setRegister(address(2, param), 620);
  propagate(table, groups, 2, *linkSlotOfParam(param), recorder());
  for (int c : {0, 1, 2}) {
    EXPECT_EQ(table.getRegister(148 + 4 * 4 + 136 * c), 620) << c;
    EXPECT_TRUE(table.dirty(148 + 4 * 4 + 136 * c)) << c;
  }
  EXPECT_EQ(table.getRegister(address(3, param)), 500);  // not a member
  EXPECT_EQ(notified, (std::vector<int>{address(0, param), address(1, param)}));
  EXPECT_EQ(dirtyCount(), 3);
}

TEST_F(LinkGroupsTest, ChannelGainCopiesOnlyTheGain) {
  table.setRegister(26 + 0, 100);  // channel 0: 0 dB, phase 180°
  table.setRegister(26 + 2, 590);  // channel 2: −10 dB, phase 0°
  propagate(table, groups, 2, kSlotChannelGain, recorder());
  EXPECT_EQ(table.getRegister(26), 90);
  EXPECT_EQ(table.getRegister(27), 590);
  // Written even when the value is already there.
  notified.clear();
  propagate(table, groups, 2, kSlotChannelGain, recorder());
  EXPECT_EQ(notified, (std::vector<int>{26, 27}));
}

TEST_F(LinkGroupsTest, OtherSlotsWriteOnlyWhatDiffers) {
  const int slot = *linkSlotOfParam(EqParamIndex::kHighPassFrequency);
  table.setRegister(address(1, EqParamIndex::kHighPassFrequency), 250);
  table.setRegisterQuiet(address(0, EqParamIndex::kHighPassFrequency), 250);
  propagate(table, groups, 1, slot, recorder());
  EXPECT_EQ(notified, (std::vector<int>{address(2, EqParamIndex::kHighPassFrequency)}));
  EXPECT_FALSE(table.dirty(address(0, EqParamIndex::kHighPassFrequency)));
}

TEST_F(LinkGroupsTest, NothingIsCopied) {
  struct Row {
    const char* name;
    int channel, slot;
    bool marking;
  } rows[] = {
      {"mute is never propagated", 0, kSlotChannelMute, true},
      {"dirty marking off (loading)", 0, 5, false},
      {"channel not linked", 3, 5, true},
      {"channel above 7", 8, 5, true},
      {"slot outside the map", 0, 136, true},
  };
  for (const Row& r : rows) {
    table.initRegisters();
    notified.clear();
    table.setRegisterQuiet(2, 1);  // channel 0 muted
    table.setRegisterQuiet(146 + 5, 42);
    table.setRegisterQuiet(146 + 136 * 3 + 5, 43);
    table.setDirtyMarking(r.marking);
    propagate(table, groups, r.channel, r.slot, recorder());
    table.setDirtyMarking(true);
    EXPECT_TRUE(notified.empty()) << r.name;
    EXPECT_EQ(dirtyCount(), 0) << r.name;
  }
}

TEST_F(LinkGroupsTest, ResyncImposesEverythingButDelayMuteAndPhase) {
  table.setRegisterQuiet(26, 570);  // head gain −30 dB, phase 0°
  table.setRegisterQuiet(27, 41);   // member phase 180°
  table.setRegisterQuiet(73, 300);  // head delay
  table.setRegisterQuiet(2, 1);     // head muted
  table.setRegisterQuiet(address(0, EqParamIndex::kLimiterThreshold), 333);
  table.setRegisterQuiet(address(0, EqParamIndex::kLowPassCode), 31);
  table.setRegisterQuiet(146 + 100, 7777);  // a band group register
  resync(table, groups, 0, recorder());
  for (int c : {1, 2}) {
    for (int slot = 0; slot < kLinkSlotCount; ++slot) {
      if (slot == kSlotChannelGain || slot == kSlotChannelMute || slot == kSlotChannelDelay)
        continue;
      EXPECT_EQ(table.getRegister(*linkSlotAddress(c, slot)),
                table.getRegister(*linkSlotAddress(0, slot)))
          << "channel " << c << " slot " << slot;
    }
    EXPECT_EQ(table.getRegister(73 + c), 0);  // delay stays
    EXPECT_EQ(table.getRegister(2 + c), 0);   // mute stays
  }
  EXPECT_EQ(table.getRegister(27), 70);   // −30 dB, phase 180° kept
  EXPECT_EQ(table.getRegister(28), 570);  // default phase 0°
  EXPECT_EQ(table.getRegister(address(3, EqParamIndex::kLowPassCode)), 15);
}

TEST(LinkGroups, DissolveAndShownChannel) {
  LinkGroups g;
  g.setGroups({2, 2, 2, 0, 5, 5, 0, 2});
  EXPECT_EQ(g.shownChannel(7), 1);
  EXPECT_EQ(g.shownChannel(3), 3);
  EXPECT_TRUE(g.linked(0, 7));
  EXPECT_FALSE(g.linked(3, 6));  // both 0: not linked
  EXPECT_EQ(g.dissolve(1), 2);
  EXPECT_EQ(g.groups(), (std::array<int, kChannelCount>{0, 0, 0, 0, 5, 5, 0, 0}));
  EXPECT_EQ(g.dissolve(3), 0);
  EXPECT_EQ(g.group(9), 0);
  EXPECT_FALSE(g.setGroup(8, 1));
  EXPECT_FALSE(g.setGroup(0, 9));
}

}  // namespace
}  // namespace zr78
