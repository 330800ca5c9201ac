#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "controls/fader.h"
#include "message_recorder.h"

namespace zr78 {
namespace {

constexpr int ID = 11024;
constexpr int BAND = 5;

TEST(FaderGeometry, KnobCentreAndPointerMapRoundTripForEverySkin) {
  struct Case { int skin; QSize client; bool vertical; int minimum, maximum; };
  const Case cases[] = {{0, {18, 98}, true, -200, 200}, {0, {36, 196}, true, -200, 200},
                        {3, {40, 109}, true, -60, 0},    {5, {96, 21}, false, 0, 100},
                        {1, {51, 124}, true, 0, 100},    {4, {57, 183}, true, -60, 0}};
  for (const Case& c : cases) {
    const auto g = FaderGeometry::compute(faderSkin(c.skin), c.client, c.vertical);
    for (int p = c.minimum; p <= c.maximum; ++p) {
      ASSERT_EQ(g.positionAt(g.knobCentre(p, c.minimum, c.maximum), c.minimum, c.maximum), p)
          << "skin " << c.skin << " position " << p;
    }
  }
}

TEST(FaderGeometry, EqFaderAtZeroSitsInTheMiddleOfTheTrack) {
  for (double scale : {1.0, 2.0}) {
    const auto g = FaderGeometry::compute(faderSkin(0), QSize(18 * scale, 98 * scale), true);
    EXPECT_DOUBLE_EQ(g.knobCentre(0, -200, 200), (86 + 12) / 2.0 * scale);
    EXPECT_DOUBLE_EQ(g.knobCentre(-200, -200, 200), 86 * scale) << "minimum at the bottom";
    EXPECT_DOUBLE_EQ(g.knobCentre(200, -200, 200), 12 * scale);
    EXPECT_EQ(g.knobWidth, static_cast<int>(16 * scale));
    EXPECT_EQ(g.knobHeight, static_cast<int>(23 * scale));
  }
  const auto h = FaderGeometry::compute(faderSkin(5), QSize(131, 22), false);
  EXPECT_DOUBLE_EQ(h.knobCentre(0, 0, 100), 15) << "horizontal: minimum at the left";
  EXPECT_DOUBLE_EQ(h.cross, 11);
}

// Skin 0 artwork: track grey, lit track green, knob white, focused knob red.
QImage testSkin() {
  QImage img(18 * 2 + 16 * 2, 98, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.fillRect(0, 0, 18, 98, Qt::gray);
  p.fillRect(18, 0, 18, 98, Qt::green);
  p.fillRect(36, 0, 16, 23, Qt::white);
  p.fillRect(52, 0, 16, 23, Qt::red);
  return img;
}

struct FaderFixture : ::testing::Test {
  void SetUp() override {
    fader = new Fader(ID, &parent);
    fader->setGeometry(20, 20, 18, 98);
    fader->configure(&parent.surface, 0, testSkin());
    fader->setRange(-200, 200);
    fader->setIndex(BAND);
    fader->setValue(0);
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
  }
  void wheel(int delta) {
    QWheelEvent e(QPointF(9, 50), fader->mapToGlobal(QPointF(9, 50)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(fader, &e);
  }
  test::Recorded note(int position) const { return {ID, BAND, position}; }

  test::MessageRecorder parent;
  Fader* fader = nullptr;
};

TEST_F(FaderFixture, SetValueIsSilent) {
  fader->setValue(-3.5);
  EXPECT_EQ(fader->position(), -35);
  EXPECT_TRUE(parent.messages.empty());
}

TEST_F(FaderFixture, WheelStepsOnePositionAndClampsBeforeNotifying) {
  fader->setValue(19.9);
  wheel(120);
  wheel(120);
  wheel(-120);
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(200), note(200), note(199)}));
  fader->setValue(-20);
  parent.messages.clear();
  wheel(-120);
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(-200)}));
}

TEST_F(FaderFixture, PressOnTheKnobDragsAndEveryStepNotifies) {
  QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(9, 49));
  EXPECT_TRUE(fader->dragging());
  test::moveMouse(fader, QPoint(9, 12), Qt::LeftButton);
  test::moveMouse(fader, QPoint(9, 2), Qt::LeftButton);  // beyond the top end
  QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(9, 2));
  EXPECT_FALSE(fader->dragging());
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(0), note(200), note(200), note(200)}));
  EXPECT_TRUE(fader->focusMark());
}

TEST_F(FaderFixture, PressOutsideTheKnobOnlyTakesTheFocus) {
  QTest::mouseClick(fader, Qt::LeftButton, {}, QPoint(9, 90));
  EXPECT_FALSE(fader->dragging());
  EXPECT_TRUE(fader->hasFocus());
  EXPECT_TRUE(fader->focusMark());
  EXPECT_TRUE(parent.messages.empty());
  EXPECT_EQ(fader->position(), 0);
}

TEST_F(FaderFixture, KeysStepWhileFocusedAndTheCoarseThresholdStepsByTen) {
  fader->setFocus();
  fader->setCoarseThreshold(10);
  fader->setValue(0.9);
  QTest::keyClick(fader, Qt::Key_Up);    // 9 → 10
  QTest::keyClick(fader, Qt::Key_Up);    // at the threshold: +10
  QTest::keyClick(fader, Qt::Key_Down);  // above it: −10
  QTest::keyClick(fader, Qt::Key_Down);  // at it: −1
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(10), note(20), note(10), note(9)}));
  QTest::keyClick(fader, Qt::Key_Left);
  EXPECT_EQ(parent.messages.size(), 4u) << "other keys are not the fader's";
}

TEST_F(FaderFixture, MouseIsIgnoredUnlessBothInputFlagsAreSet) {
  fader->setInputEnabled(true, false);
  QTest::mouseClick(fader, Qt::LeftButton, {}, QPoint(9, 49));
  EXPECT_FALSE(fader->focusMark());
  EXPECT_TRUE(parent.messages.empty());
}

TEST_F(FaderFixture, LosingTheFocusClearsTheMarkAndTheFaceChangesWithIt) {
  QTest::mouseClick(fader, Qt::LeftButton, {}, QPoint(9, 90));
  const QImage focused = fader->composedImage();
  parent.setFocus();
  fader->clearFocus();
  EXPECT_FALSE(fader->focusMark());
  EXPECT_EQ(focused.pixelColor(9, 49), QColor(Qt::red));
  EXPECT_EQ(fader->composedImage().pixelColor(9, 49), QColor(Qt::white));
  EXPECT_EQ(fader->composedImage().pixelColor(9, 80), QColor(Qt::green)) << "lit below the knob";
  EXPECT_EQ(fader->composedImage().pixelColor(9, 20), QColor(Qt::gray));
}

}  // namespace
}  // namespace zr78
