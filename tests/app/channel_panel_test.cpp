// The channel strip in the running window, with real mouse and key events:
// gain and phase words, mute, delays in three units, channel selection with
// link groups, keyboard navigation, painting and texts.
#include "app/qt_text.h"
#include "channel_fixture.h"
#include "controls/skin_label.h"
#include "text/shared_texts.h"

namespace zr78::test {
namespace {

class ChannelPanelTest : public ChannelFixture {};

TEST_F(ChannelPanelTest, GainAndPhaseMakeOneWord) {
  ChannelPanel& p = panel();
  type(p.gainBox(0), "-60");
  EXPECT_EQ(p.gainBox(0)->shownText(), "OFF");
  EXPECT_EQ(reg(26), 500);
  click(p.phaseButton(0));
  EXPECT_EQ(reg(26), 0);
  EXPECT_EQ(p.phaseButton(0)->text(), "180'");
  click(p.phaseButton(0));

  type(p.gainBox(1), "-6");
  EXPECT_EQ(reg(27), 594);
  EXPECT_EQ(p.gainFader(1)->position(), -6);
  click(p.phaseButton(1));
  EXPECT_EQ(reg(27), 94);

  // From the device: 594 is −6 dB at phase 0°; 41 is −59 dB at 180°.
  deviceValues({{28, 594}, {29, 41}});
  EXPECT_EQ(p.gainBox(2)->value(), -6);
  EXPECT_EQ(p.gainFader(2)->position(), -6);
  EXPECT_EQ(p.phaseButton(2)->state(), ButtonState::kReleased);
  EXPECT_EQ(p.phaseButton(2)->text(), "0'");
  EXPECT_EQ(p.gainBox(3)->value(), -59);
  EXPECT_EQ(p.phaseButton(3)->text(), "180'");
}

TEST_F(ChannelPanelTest, FaderAndBoxFollowEachOther) {
  ChannelPanel& p = panel();
  Fader* f = p.gainFader(4);
  f->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(f, Qt::Key_Down);  // 0 → −3 dB
  settle();
  EXPECT_EQ(p.gainBox(4)->value(), -3);
  EXPECT_EQ(reg(30), 597);
  type(p.gainBox(4), "-20");
  EXPECT_EQ(f->position(), -20);
}

TEST_F(ChannelPanelTest, MuteWritesItsRegister) {
  click(panel().muteButton(5));
  EXPECT_EQ(reg(7), 1);
  click(panel().muteButton(5));
  EXPECT_EQ(reg(7), 0);
  deviceValues({{8, 1}});
  EXPECT_EQ(panel().muteButton(6)->state(), ButtonState::kPressed);
}

TEST_F(ChannelPanelTest, DelaysInSamplesMillisecondsCentimetresAndInches) {
  ChannelPanel& p = panel();
  struct Case {
    const char* typed;
    int32_t word;
  } cases[] = {{"0.021", 21}, {"1", 1000}, {"20", 20000}, {"25", 20000}, {"-3", 0}};
  for (const Case& c : cases) {
    type(p.delayBox(0), c.typed);
    EXPECT_EQ(reg(73), c.word) << c.typed;
  }
  deviceValues({{74, 21}, {75, 1000}});
  EXPECT_EQ(p.delayBox(1)->shownText(), "0.021");
  EXPECT_EQ(p.delayBox(1)->value(), 1);

  click(p.unitButton(1));  // cm
  EXPECT_EQ(p.delayUnit(), DelayUnit::Centimetres);
  EXPECT_EQ(p.unitButton(0)->state(), ButtonState::kReleased);
  EXPECT_EQ(p.unitButton(1)->state(), ButtonState::kPressed);
  EXPECT_EQ(p.delayBox(2)->shownText(), "34.60");
  type(p.delayBox(3), "34.6");
  EXPECT_EQ(p.delayBox(3)->value(), 48);
  EXPECT_EQ(reg(76), 1000);
  // Values from the device are milliseconds in every unit.
  deviceValues({{77, 1000}});
  EXPECT_EQ(p.delayBox(4)->value(), 48);

  click(p.unitButton(2));  // inch
  EXPECT_EQ(p.delayBox(2)->shownText(), "13.62");
  click(p.unitButton(2));  // the chosen unit stays chosen
  EXPECT_EQ(p.unitButton(2)->state(), ButtonState::kPressed);
}

TEST_F(ChannelPanelTest, SelectingAChannelShowsItsGroupsHead) {
  ChannelPanel& p = panel();
  app_->groups().setGroups({0, 2, 2, 0, 2, 0, 0, 0});  // head: channel 2
  click(p.channelSelect(4));
  for (int c = 0; c < 8; ++c) {
    const bool member = c == 1 || c == 2 || c == 4;
    EXPECT_EQ(p.channelSelect(c)->state(), member ? ButtonState::kPressed : ButtonState::kReleased)
        << c;
  }
  EXPECT_EQ(window().eqChannel(), 1);
  click(p.channelSelect(6));
  EXPECT_EQ(window().eqChannel(), 6);
  EXPECT_EQ(p.channelSelect(6)->state(), ButtonState::kPressed);
  EXPECT_EQ(p.channelSelect(1)->state(), ButtonState::kReleased);
  click(p.channelSelect(6));  // a second click keeps it selected
  EXPECT_EQ(p.channelSelect(6)->state(), ButtonState::kPressed);
}

TEST_F(ChannelPanelTest, TabAndArrowsMoveAlongTheBoxes) {
  ChannelPanel& p = panel();
  const auto focused = [](NumericEdit* box) { return box->editChild()->hasFocus(); };
  type(p.delayBox(0), "1");
  key(Qt::Key_Tab);
  EXPECT_TRUE(focused(p.delayBox(1)));
  key(Qt::Key_Left);
  key(Qt::Key_Left);
  EXPECT_TRUE(focused(p.gainBox(7)));
  key(Qt::Key_Right);
  EXPECT_TRUE(focused(p.delayBox(0)));
  key(Qt::Key_Backtab);
  EXPECT_TRUE(focused(p.gainBox(7)));
}

// A click on a phase or mute button leaves the strip's focus on the buttons;
// the next Tab goes to the gain box after that channel's.
TEST_F(ChannelPanelTest, TabAfterAButtonClickReachesTheNextGainBox) {
  ChannelPanel& p = panel();
  type(p.gainBox(0), "-1");
  click(p.phaseButton(2));
  EXPECT_EQ(p.focusIndex(), 25 + 2);
  key(Qt::Key_Tab);
  EXPECT_TRUE(p.gainBox(3)->editChild()->hasFocus());
  click(p.muteButton(5));
  key(Qt::Key_Left);
  EXPECT_TRUE(p.gainBox(4)->editChild()->hasFocus());
}

TEST_F(ChannelPanelTest, DelayChainTogglesAreRecorded) {
  ChannelPanel& p = panel();
  click(p.delayChain(3));
  click(p.delayChain(6));
  click(p.delayChain(3));
  for (int c = 0; c < 8; ++c) EXPECT_EQ(p.delayChainFlag(c), c == 6) << c;
  for (int a = 73; a <= 80; ++a) EXPECT_FALSE(table().dirty(a)) << a;
}

// Dragging a fader repaints the fader alone: the panel under it is not
// painted again, so nothing flickers.
TEST_F(ChannelPanelTest, DraggingAFaderPaintsOnlyTheFader) {
  ChannelPanel& p = panel();
  struct PaintCounter : QObject {
    int panel = 0, fader = 0;
    QObject* panelObject = nullptr;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++(o == panelObject ? panel : fader);
      return false;
    }
  } counter;
  Fader* f = p.gainFader(2);
  counter.panelObject = &p;
  settle();
  p.installEventFilter(&counter);
  f->installEventFilter(&counter);
  const QRectF knob = f->geometryCache().knobRect(f->position(), f->minimum(), f->maximum());
  const QPoint from = knob.center().toPoint();
  mouse(f, QEvent::MouseButtonPress, Qt::LeftButton, from);
  for (int dy = 4; dy <= 40; dy += 4) {
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(0, dy)),
                     f->mapToGlobal(QPointF(from + QPoint(0, dy))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(f, &move);
    QTest::qWait(5);
  }
  mouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, from + QPoint(0, 40));
  settle();
  EXPECT_LT(p.gainBox(2)->value(), 0);
  EXPECT_GT(counter.fader, 0);
  EXPECT_EQ(counter.panel, 0);
}

TEST_F(ChannelPanelTest, TextsFollowTheLanguage) {
  ChannelPanel& p = panel();
  EXPECT_EQ(p.delayLabel(0)->text(), "Delay:");
  EXPECT_EQ(p.lockButton()->text(), "Lock");
  EXPECT_EQ(p.label(16)->text(), "mS");
  EXPECT_EQ(p.label(19)->text(), "Link L&R");
  EXPECT_EQ(p.label(1)->text(), "CH1");
  EXPECT_EQ(p.channelSelect(7)->text(), "CH8");
  app_->language().set(Language::kTraditionalChinese);
  postMessage(&window(), MSG_LANGUAGE_REFRESH, 1, 1);
  settle();
  EXPECT_EQ(p.delayLabel(3)->text(), QString::fromUtf8("延遲:"));
  EXPECT_EQ(p.lockButton()->text(), QString::fromUtf8("鎖定"));
  EXPECT_EQ(p.label(17)->text(), QString::fromUtf8("公分"));
  deviceValues({{50, 24}});
  EXPECT_EQ(p.roleSelector(0)->text(), QString::fromUtf8("重低音"));
}

}  // namespace
}  // namespace zr78::test
