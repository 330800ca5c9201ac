// Link groups in the running window: the link buttons, the link editor's
// clicks, the resync of a new group and the propagation of gain edits.
#include "channel_fixture.h"
#include "eq/eq_model.h"

namespace zr78::test {
namespace {

using Groups = LinkEditor::Groups;

class LinkGroupsUiTest : public ChannelFixture {
 protected:
  // Registers a group's head imposes on its members, and those a member keeps.
  static std::vector<int> copied(int c) {
    using namespace EqParamIndex;
    return {*eqRegisterAddress(c, kBandGain + 4), *eqRegisterAddress(c, kBandFrequency),
            *eqRegisterAddress(c, kLowPassCode),       *eqRegisterAddress(c, kHighPassFrequency),
            *eqRegisterAddress(c, kLimiterThreshold),  *eqRegisterAddress(c, kLimiterAttack),
            channelBlockRegister(c, kHighPassAuxOffset)};  // carried, though no editor shows it
  }
  void distinctChannels() {
    for (int c = 0; c < 3; ++c) {
      int v = 0;
      for (int a : copied(c)) table().setRegister(a, 100 + 10 * c + v++);
      table().setRegister(channelGainRegister(c), 590 - c);           // phase 0°
      table().setRegister(delayRegister(c), 1000 * (c + 1));
      table().setRegister(muteRegister(c), c == 1 ? 1 : 0);
    }
    table().setRegister(channelGainRegister(1), 85);  // channel 2 at 180°
  }
  const Groups& groups() { return app_->groups().groups(); }
};

TEST_F(LinkGroupsUiTest, ANewGroupTakesTheHeadsSettingsButKeepsPhaseMuteAndDelay) {
  distinctChannels();
  linkWithEditor(0, {1, 2});
  EXPECT_EQ(groups(), (Groups{1, 1, 1, 0, 0, 0, 0, 0}));
  ChannelPanel& p = panel();
  for (int c = 0; c < 8; ++c)
    EXPECT_EQ(p.channelSelect(c)->state(), c < 3 ? ButtonState::kPressed : ButtonState::kReleased) << c;
  EXPECT_EQ(p.linkButton(0)->state(), ButtonState::kPressed);
  EXPECT_EQ(window().eqChannel(), 0);
  for (int member : {1, 2}) {
    const auto head = copied(0), own = copied(member);
    for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(reg(own[i]), reg(head[i])) << member << " " << i;
    EXPECT_EQ(reg(delayRegister(member)), 1000 * (member + 1));
    EXPECT_EQ(reg(muteRegister(member)), member == 1 ? 1 : 0);
  }
  // The gain follows the head, the phase stays each member's own.
  EXPECT_EQ(reg(channelGainRegister(1)), 90);
  EXPECT_EQ(reg(channelGainRegister(2)), 590);
  // The views show the copies once the notifications have run.
  EXPECT_EQ(p.gainBox(2)->value(), -10);
}

TEST_F(LinkGroupsUiTest, AMembersGainIsCopiedItsDelayIsNot) {
  distinctChannels();
  linkWithEditor(0, {1, 2});
  type(panel().gainBox(2), "-10");
  EXPECT_EQ(reg(channelGainRegister(2)), 590);
  EXPECT_EQ(reg(channelGainRegister(0)), 590);
  EXPECT_EQ(reg(channelGainRegister(1)), 90);  // phase 180° kept
  type(panel().gainBox(1), "-20");
  EXPECT_EQ(reg(channelGainRegister(1)), 80);
  EXPECT_EQ(reg(channelGainRegister(0)), 580);
  click(panel().phaseButton(0));  // the phase itself is not copied
  EXPECT_EQ(reg(channelGainRegister(0)), 80);
  EXPECT_EQ(reg(channelGainRegister(2)), 580);
  type(panel().delayBox(1), "5");
  EXPECT_EQ(reg(delayRegister(1)), 5000);
  EXPECT_EQ(reg(delayRegister(0)), 1000);
  EXPECT_EQ(reg(delayRegister(2)), 3000);
  click(panel().muteButton(2));
  EXPECT_EQ(reg(muteRegister(0)), 0);
}

TEST_F(LinkGroupsUiTest, NoCopyingWhileDirtyMarkingIsOff) {
  linkWithEditor(0, {1, 2});
  table().setDirtyMarking(false);
  const int32_t before = reg(channelGainRegister(0));
  type(panel().gainBox(2), "-33");
  table().setDirtyMarking(true);
  EXPECT_EQ(reg(channelGainRegister(2)), 567);
  EXPECT_EQ(reg(channelGainRegister(0)), before);
}

TEST_F(LinkGroupsUiTest, ReleasingALinkButtonDissolvesTheGroup) {
  linkWithEditor(1, {0, 2});  // head: channel 2
  EXPECT_EQ(groups(), (Groups{2, 2, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(window().eqChannel(), 1);
  click(panel().channelSelect(5));
  click(panel().linkButton(1));
  EXPECT_EQ(groups(), (Groups{}));
  EXPECT_EQ(panel().linkButton(1)->state(), ButtonState::kReleased);
  EXPECT_EQ(window().eqChannel(), 1);  // the former head is shown again
  EXPECT_EQ(panel().channelSelect(1)->state(), ButtonState::kPressed);
  EXPECT_EQ(panel().channelSelect(0)->state(), ButtonState::kReleased);
}

TEST_F(LinkGroupsUiTest, OkWithoutALinkAndExitChangeNothing) {
  const int32_t gain = reg(channelGainRegister(3));
  linkWithEditor(3, {});
  EXPECT_EQ(panel().linkButton(3)->state(), ButtonState::kReleased);
  EXPECT_EQ(groups(), (Groups{}));
  linkWithEditor(3, {4, 5}, {}, false);  // "exit"
  EXPECT_EQ(panel().linkButton(3)->state(), ButtonState::kReleased);
  EXPECT_EQ(groups(), (Groups{}));
  EXPECT_EQ(reg(channelGainRegister(3)), gain);
}

TEST_F(LinkGroupsUiTest, ARightClickRemovesAMember) {
  linkWithEditor(0, {1, 2, 5});
  EXPECT_EQ(groups(), (Groups{1, 1, 1, 0, 0, 1, 0, 0}));
  // Opened again from the head: circle 2 right-clicked, circle 1 (the
  // middle) ignores both buttons.
  WhenModal<LinkEditor> act([](LinkEditor& editor) {
    rightClick(&editor, editor.circle(1).center());
    rightClick(&editor, editor.circle(0).center());
    leftClick(&editor, editor.circle(0).center());
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
  });
  click(panel().linkButton(0));  // releases: dissolves
  EXPECT_EQ(groups(), (Groups{}));
  app_->groups().setGroups({1, 1, 1, 0, 0, 1, 0, 0});
  click(panel().linkButton(0));  // pressed again: the editor opens
  ASSERT_TRUE(waitUntil([&] { return act.ran() && QApplication::activeModalWidget() == nullptr; }));
  EXPECT_EQ(groups(), (Groups{1, 0, 1, 0, 0, 1, 0, 0}));
}

TEST_F(LinkGroupsUiTest, TheEditorDrawsTheRingAroundTheCurrentChannel) {
  std::optional<QImage> picture;
  std::array<QRect, 8> circles{};
  WhenModal<LinkEditor> act([&](LinkEditor& editor) {
    for (int k = 0; k < 8; ++k) circles[static_cast<size_t>(k)] = editor.circle(k);
    leftClick(&editor, editor.circle(4).center());
    picture = editor.grab().toImage();
    QTest::mouseClick(editor.exitButton(), Qt::LeftButton);
  });
  click(panel().linkButton(2));
  ASSERT_TRUE(waitUntil([&] { return act.ran() && QApplication::activeModalWidget() == nullptr; }));
  ASSERT_TRUE(picture);
  const auto centre = [&](int k) { return circles[static_cast<size_t>(k)].topLeft() + QPoint(10, 10); };
  const QPoint middle = centre(2);
  EXPECT_EQ(middle, QPoint(LinkEditor::kClientSize.width() / 2, LinkEditor::kClientSize.height() / 2));
  EXPECT_EQ(centre(0), middle - QPoint(150, 0));
  EXPECT_EQ(circles[2].size(), QSize(20, 20));
  // Blue around the current channel, red around the others, a red line to
  // the new member, the grey ground elsewhere.
  const auto colour = [&](QPoint at) { return picture->pixelColor(at); };
  const QColor ring = colour(centre(2) + QPoint(0, -10));
  EXPECT_GT(ring.blue(), 150);
  EXPECT_LT(ring.red(), 100);
  const QColor other = colour(centre(6) + QPoint(0, -10));
  EXPECT_GT(other.red(), 150);
  EXPECT_LT(other.blue(), 100);
  const QColor line = colour((centre(2) + centre(4)) / 2);
  EXPECT_GT(line.red(), 200);
  EXPECT_LT(line.green(), 80);
  EXPECT_EQ(colour(QPoint(middle.x(), middle.y() + 60)), QColor(240, 240, 240));
  EXPECT_EQ(colour(QPoint(0, 0)), QColor(0, 0, 0));
}

}  // namespace
}  // namespace zr78::test
