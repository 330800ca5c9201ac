// Speaker roles in the running window: the lock, the role menu with its
// checks and greyed conflicts, the role change with its crossover preset,
// and the car diagram.
#include "channel_fixture.h"
#include "eq/eq_model.h"

namespace zr78::test {
namespace {

class SpeakerRolesUiTest : public ChannelFixture {
 protected:
  // Every channel without a role, as the amplifier reports it.
  void SetUp() override {
    ChannelFixture::SetUp();
    deviceValues({{50, 0}, {51, 0}, {52, 0}, {53, 0}, {54, 0}, {55, 0}, {56, 0}, {57, 0}});
  }
  // Crossover registers of channel c: high-pass code and frequency, low-pass code and frequency.
  std::array<int, 4> crossover(int c) {
    using namespace EqParamIndex;
    return {*eqRegisterAddress(c, kHighPassCode), *eqRegisterAddress(c, kHighPassFrequency),
            *eqRegisterAddress(c, kLowPassCode), *eqRegisterAddress(c, kLowPassFrequency)};
  }
};

TEST_F(SpeakerRolesUiTest, TheLockGuardsTheSelectors) {
  ChannelPanel& p = panel();
  EXPECT_EQ(p.lockButton()->text(), "Lock");
  click(p.roleSelector(2));
  settle();
  EXPECT_EQ(p.openRoleMenu(), nullptr);
  click(p.lockButton());
  EXPECT_EQ(p.lockButton()->text(), "unLock");
  for (int c = 0; c < 8; ++c) EXPECT_TRUE(p.roleSelector(c)->isEnabled()) << c;
  QMenu* menu = openRoleMenu(2);
  ASSERT_NE(menu, nullptr);
  menu->close();
  settle();
  click(p.lockButton());
  EXPECT_EQ(p.lockButton()->text(), "Lock");
  EXPECT_FALSE(p.roleSelector(2)->isEnabled());
}

TEST_F(SpeakerRolesUiTest, AFullRoleGreysItsPartsForTheOtherChannels) {
  deviceValues({{50, 6}});  // channel 1: FL-Full
  unlockRoles();
  auto* menu = static_cast<RoleMenu*>(openRoleMenu(3));
  ASSERT_NE(menu, nullptr);
  for (int role = 1; role <= 6; ++role) EXPECT_FALSE(menu->roleAction(role)->isEnabled()) << role;
  for (int role : {0, 7, 13, 24}) EXPECT_TRUE(menu->roleAction(role)->isEnabled()) << role;
  EXPECT_TRUE(menu->roleAction(0)->isChecked());  // channel 4's own role
  EXPECT_EQ(RoleMenu::commandOf(menu->roleAction(24)), 11048);
  menu->close();
  settle();
  // The menu of channel 1 itself offers them all and checks "Full".
  menu = static_cast<RoleMenu*>(openRoleMenu(0));
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->roleAction(6)->isChecked());
  EXPECT_TRUE(menu->roleAction(1)->isEnabled());
  menu->close();
  settle();
  // A greyed item cannot be chosen.
  chooseRole(3, 1);
  EXPECT_EQ(panel().roleOfChannel(3), 0);
  EXPECT_EQ(reg(53), 0);
}

TEST_F(SpeakerRolesUiTest, ANewRoleWritesItsCrossoverPresetTheSameRoleOnlyItself) {
  unlockRoles();
  const auto xo = crossover(4);
  chooseRole(4, 1);  // FL-Tweeter, register 54 held 0
  EXPECT_EQ(reg(54), 1);
  EXPECT_EQ(reg(xo[0]), 14);
  EXPECT_EQ(reg(xo[1]), 4000);
  EXPECT_EQ(reg(xo[2]), 15);
  EXPECT_EQ(reg(xo[3]), 20600);
  EXPECT_EQ(panel().roleSelector(4)->text(), "FL-Tweeter");

  // The crossover edited since; choosing the same role again leaves it.
  for (int a : xo) table().setRegister(a, 33);
  chooseRole(4, 1);
  for (int a : xo) EXPECT_EQ(reg(a), 33) << a;
  EXPECT_EQ(reg(54), 1);
  EXPECT_TRUE(table().dirty(54) || amp().reg(54) == 1);
}

TEST_F(SpeakerRolesUiTest, TheSubwooferLightsBothSubIconsAndBlocksItsParts) {
  ChannelPanel& p = panel();
  EXPECT_EQ(p.carDiagram().litIcons(), 0);
  unlockRoles();
  chooseRole(2, 24);
  EXPECT_EQ(p.roleSelector(2)->text(), "Subwoofer");
  EXPECT_EQ(p.carDiagram().litIcons(), (1u << 12) | (1u << 13));
  EXPECT_TRUE(p.carDiagram().icon(12)->isVisible());
  EXPECT_FALSE(p.carDiagram().icon(0)->isVisible());
  chooseRole(5, 22);  // "L-Subwoofer" is greyed
  EXPECT_EQ(p.roleOfChannel(5), 0);
  chooseRole(5, 15);  // RL-Full lights the rear-left pair
  EXPECT_EQ(p.carDiagram().litIcons(), (1u << 6) | (1u << 7) | (1u << 12) | (1u << 13));
  // A device word of 25 or more is ignored.
  deviceValues({{52, 25}});
  EXPECT_EQ(p.roleOfChannel(2), 24);
  EXPECT_EQ(p.roleSelector(2)->text(), "Subwoofer");
}

}  // namespace
}  // namespace zr78::test
