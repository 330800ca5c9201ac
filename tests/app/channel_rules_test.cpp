// The channel strip's rules without a window: keyboard navigation and the
// design rectangles of the strip.
#include <gtest/gtest.h>

#include "app/channel_focus.h"
#include "app/channel_strip_layout.h"
#include "app/link_editor.h"

namespace zr78 {
namespace {

constexpr FocusTarget kGain = FocusTarget::kGainBox;
constexpr FocusTarget kDelay = FocusTarget::kDelayBox;
constexpr FocusTarget kNone = FocusTarget::kNone;
constexpr FocusTarget kMaster = FocusTarget::kMasterBox;

TEST(ChannelFocusTest, MovesAlongTheRowsAndAcrossTheGaps) {
  struct Case {
    const char* name;
    int from, direction;
    FocusStep expected;
  } cases[] = {
      {"gain box 1 → 2", 1, +1, {2, kGain, 1}},
      {"first delay box → second", 13, +1, {14, kDelay, 1}},
      {"left from the first delay box → eighth gain box", 13, -1, {8, kGain, 7}},
      {"left from the first gain box → master box", 1, -1, {0, kMaster, 0}},
      {"left from the master box wraps, nothing focused", 0, -1, {24, kNone, 0}},
      {"left from the wrap → eighth delay box", 24, -1, {20, kDelay, 7}},
      {"after the eighth gain box → first delay box", 8, +1, {13, kDelay, 0}},
      {"after the eighth delay box → first gain box", 20, +1, {1, kGain, 0}},
      // An index a button click left counts as the gain box of its channel.
      {"after channel 3's phase button → gain box 4", 25 + 2, +1, {4, kGain, 3}},
      {"after channel 1's mute button, left → master box", 37, -1, {0, kMaster, 0}},
      {"after channel 8's role selector → first delay box", 49 + 7, +1, {13, kDelay, 0}},
      {"after channel 5's phase button, left → gain box 4", 25 + 4, -1, {4, kGain, 3}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(moveFocus(c.from, c.direction, nullptr), c.expected) << c.name;
}

TEST(ChannelFocusTest, SkipsDisabledBoxesAndEndsWhenNoneTakesTheFocus) {
  const auto noGain3 = [](FocusTarget t, int channel) { return !(t == kGain && channel == 2); };
  EXPECT_EQ(moveFocus(2, +1, noGain3), (FocusStep{4, kGain, 3}));
  EXPECT_EQ(moveFocus(4, -1, noGain3), (FocusStep{2, kGain, 1}));
  const auto none = [](FocusTarget, int) { return false; };
  EXPECT_EQ(moveFocus(5, +1, none).target, kNone);
}

TEST(ChannelStripLayoutTest, ColumnsShiftAndTheUnseenOnesWaitAboveThePanel) {
  EXPECT_EQ(stripRect(StripElement::kGainFader, 0), (CanvasRect{269, 74, 309, 183}));
  EXPECT_EQ(stripRect(StripElement::kDelayBox, 7), (CanvasRect{1216, 188, 1255, 208}));
  EXPECT_EQ(stripRect(StripElement::kDelayChain, 1), (CanvasRect{378, 188, 394, 204}));
  EXPECT_EQ(stripRect(StripElement::kLink, 7), (CanvasRect{1163, 223, 1179, 239}));
  EXPECT_EQ(stripRect(StripElement::kLinkLabel, 2), (CanvasRect{665, 221, 750, 241}));
  for (int column = 8; column < kStripColumns; ++column) {
    const CanvasRect r = stripRect(StripElement::kPhase, column);
    EXPECT_EQ(r.top, kStripHiddenTop) << column;
    EXPECT_EQ(r.height(), 22) << column;
  }
  EXPECT_EQ(carIconRect(1), (CanvasRect{36, 83, 59, 116}));
  EXPECT_EQ(carIconRect(13), (CanvasRect{124, 216, 157, 239}));
  EXPECT_EQ(delayUnitLabelRect(2), (CanvasRect{177, 12, 221, 28}));
}

TEST(LinkEditorLayoutTest, TheCurrentChannelInTheMiddleTheOthersOnTheRing) {
  const auto centres = LinkEditor::circleCentres(QSize(400, 300), 3, 1.0);
  EXPECT_EQ(centres[0], QPoint(50, 150));   // channel 1 at the left
  EXPECT_EQ(centres[2], QPoint(200, 150));  // the current channel
  EXPECT_EQ(centres[4], QPoint(350, 150));  // channel 5 at the right
  EXPECT_EQ(centres[6], QPoint(200, 300));  // channel 7 at the bottom
  EXPECT_EQ(centres[1], QPoint(200 - 106, 150 - 106));
  const auto twice = LinkEditor::circleCentres(QSize(800, 600), 1, 2.0);
  EXPECT_EQ(twice[2], QPoint(400, 0));  // channel 3 at the top
}

}  // namespace
}  // namespace zr78
