#include "channels/speaker_roles.h"

#include <gtest/gtest.h>

#include <vector>

#include "eq/eq_model.h"
#include "registers/register_table.h"
#include "register_fixture.h"

namespace zr78 {
namespace {

uint32_t roleBits(std::initializer_list<int> roles) {
  uint32_t mask = 0;
  for (int r : roles) mask |= 1u << r;
  return mask;
}

TEST(SpeakerRoles, Conflicts) {
  struct Row {
    const char* name;
    int heldElsewhere;
    uint32_t unavailable;
  } rows[] = {
      {"FL full greys the front-left set", 6, roleBits({1, 2, 3, 4, 5, 6})},
      {"FL midrange-tweeter", 4, roleBits({1, 2, 4, 6})},
      {"FL midrange-woofer", 5, roleBits({2, 3, 5, 6})},
      {"FR tweeter", 7, roleBits({7, 10, 12})},
      {"FR full", 12, roleBits({7, 8, 9, 10, 11, 12})},
      {"RL woofer", 14, roleBits({14, 15})},
      {"RR full", 18, roleBits({16, 17, 18})},
      {"centre full", 21, roleBits({19, 20, 21})},
      {"subwoofer", 24, roleBits({22, 23, 24})},
      {"left sub", 22, roleBits({22, 24})},
      {"null", 0, 0},
      {"a role word of 25 or more", 30, 0},
  };
  for (const Row& r : rows) {
    std::array<int, kChannelCount> roles{};
    roles[1] = r.heldElsewhere;
    EXPECT_EQ(unavailableRoles(roles, 4), r.unavailable) << r.name;
    EXPECT_EQ(unavailableRoles(roles, 1), 0u) << r.name << ": the channel's own role stays";
  }
}

TEST(SpeakerRoles, IconsLit) {
  std::array<int, 20> roles{};
  roles[2] = 24;  // channel 3 "Subwoofer"
  EXPECT_EQ(litIcons(roles), (1u << 12) | (1u << 13));
  roles[0] = 6;
  roles[5] = 21;
  EXPECT_EQ(litIcons(roles), 0x7u | (1u << 10) | (1u << 11) | (1u << 12) | (1u << 13));
  EXPECT_EQ(roleIcons(25), 0);
  EXPECT_EQ(roleIcons(-1), 0);
}

using RoleChangeTest = RegisterFixture;

TEST_F(RoleChangeTest, NewRoleWritesItsPreset) {
  const int c = 6;                                          // default role 0
  ASSERT_TRUE(changeSpeakerRole(table, c, 1, recorder()));  // FL tweeter
  const int hpCode = 138 + 136 * c, hpHz = 139 + 136 * c, lpCode = 142 + 136 * c,
            lpHz = 143 + 136 * c;
  EXPECT_EQ(table.getRegister(hpHz), 4000);
  EXPECT_EQ(table.getRegister(lpHz), 20600);
  EXPECT_EQ(table.getRegister(hpCode), 14);
  EXPECT_EQ(table.getRegister(lpCode), 15);
  EXPECT_EQ(table.getRegister(50 + c), 1);
  EXPECT_EQ(notified, (std::vector<int>{hpHz, lpHz, lpCode, hpCode}));
  EXPECT_EQ(dirtyAddresses(), (std::vector<int>{50 + c, hpCode, hpHz, lpCode, lpHz}));
}

TEST_F(RoleChangeTest, SameRoleWritesOnlyTheRoleRegister) {
  table.setRegisterQuiet(50 + 6, 1);
  ASSERT_TRUE(changeSpeakerRole(table, 6, 1, recorder()));
  EXPECT_TRUE(notified.empty());
  EXPECT_EQ(dirtyAddresses(), std::vector<int>{56});
}

TEST_F(RoleChangeTest, InactivePresetAndRejections) {
  ASSERT_TRUE(changeSpeakerRole(table, 7, 6, recorder()));  // FL full: 10 Hz .. 20600 Hz
  EXPECT_EQ(table.getRegister(139 + 136 * 7), encodeFrequency(10));
  EXPECT_EQ(table.getRegister(139 + 136 * 7), 32868);
  EXPECT_FALSE(changeSpeakerRole(table, 8, 1, recorder()));
  EXPECT_FALSE(changeSpeakerRole(table, 0, 25, recorder()));
  EXPECT_FALSE(changeSpeakerRole(table, 0, -1, recorder()));
  EXPECT_EQ(dirtyAddresses().size(), 5u);  // only the first change
}

TEST(SpeakerRoles, PresetTable) {
  EXPECT_EQ(ROLE_CROSSOVER_PRESETS[21].highPassHz, 315);
  EXPECT_EQ(ROLE_CROSSOVER_PRESETS[21].lowPassHz, 1500);
  EXPECT_EQ(ROLE_CROSSOVER_PRESETS[24].lowPassHz, 315);
  EXPECT_EQ(ROLE_CROSSOVER_PRESETS[5].highPassHz, 40);
}

}  // namespace
}  // namespace zr78
