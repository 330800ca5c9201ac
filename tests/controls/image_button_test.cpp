#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/image_button.h"
#include "message_recorder.h"

namespace zr78 {
namespace {

constexpr int ID = 4024;

// Four 39 × 20 frames: red, blue, a hover frame white in its top half only
// (so whatever lies under it shows below), black.
QImage testStrip() {
  QImage strip(156, 20, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.fillRect(0, 0, 39, 20, Qt::red);
  p.fillRect(39, 0, 39, 20, Qt::blue);
  p.fillRect(78, 0, 39, 10, Qt::white);
  p.fillRect(117, 0, 39, 20, Qt::black);
  return strip;
}

struct ButtonFixture : ::testing::Test {
  void SetUp() override {
    button = new ImageButton(ID, &parent);
    button->setGeometry(50, 40, 39, 20);
    button->setImage(&parent.surface, testStrip());
    button->setIndex(7);
    parent.show();
  }
  QColor top() { return button->composedImage().pixelColor(19, 3); }
  QColor bottom() { return button->composedImage().pixelColor(19, 16); }
  void click() { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(19, 10)); }

  test::MessageRecorder parent;
  ImageButton* button = nullptr;
};

TEST_F(ButtonFixture, StripOfFourFramesShowsStateFramesAndHoverOnTop) {
  EXPECT_EQ(button->frameCount(), 4);
  button->setState(ButtonState::kReleased);
  EXPECT_EQ(top(), QColor(Qt::red));
  button->setState(ButtonState::kPressed);
  EXPECT_EQ(button->frame(), 1);
  EXPECT_EQ(bottom(), QColor(Qt::blue));

  test::moveMouse(button, QPoint(19, 10));
  ASSERT_TRUE(button->hovering());
  EXPECT_EQ(top(), QColor(Qt::white)) << "hover frame drawn over the pressed frame";
  EXPECT_EQ(bottom(), QColor(Qt::blue));

  test::moveMouse(button, QPoint(0, 10));  // the border pixel is outside the hot area
  EXPECT_FALSE(button->hovering());
  test::moveMouse(button, QPoint(19, 10));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(button, &leave);
  EXPECT_FALSE(button->hovering());
  EXPECT_EQ(top(), QColor(Qt::blue));
  EXPECT_TRUE(parent.delivered().empty()) << "hovering and setState do not notify";
}

TEST_F(ButtonFixture, PushButtonNotifiesEveryClickAndKeepsItsFrame) {
  for (int i = 0; i < 3; ++i) click();
  const std::vector<test::Recorded> expected(3, {ID, 7, 7});
  EXPECT_EQ(parent.delivered(), expected);
  EXPECT_EQ(button->state(), ButtonState::kPush);
  EXPECT_EQ(button->frame(), 0);
}

TEST_F(ButtonFixture, ToggleLatchesBeforeTheOwnerHearsAndReleaseOutsideStillCounts) {
  button->setState(ButtonState::kReleased);
  QTest::mousePress(button, Qt::LeftButton, {}, QPoint(19, 10));
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 150));  // far outside
  EXPECT_EQ(button->state(), ButtonState::kPressed);
  EXPECT_EQ(button->frame(), 1);
  EXPECT_EQ(parent.delivered(), (std::vector<test::Recorded>{{ID, 7, 7}}));
  click();
  EXPECT_EQ(button->state(), ButtonState::kReleased);
  EXPECT_EQ(parent.delivered().size(), 2u);
}

TEST_F(ButtonFixture, PressOutsideTheHotAreaIsNoClick) {
  button->setState(ButtonState::kReleased);
  // The hot area stays one pixel inside the client rectangle.
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(0, 10));
  EXPECT_EQ(button->state(), ButtonState::kReleased);
  EXPECT_TRUE(parent.delivered().empty());
}

struct IgnoreCase {
  const char* name;
  void (*apply)(ImageButton*);
};

class ButtonIgnoresMouse : public ButtonFixture, public ::testing::WithParamInterface<IgnoreCase> {};

TEST_P(ButtonIgnoresMouse, NoHoverNoToggleNoNotification) {
  button->setState(ButtonState::kReleased);
  GetParam().apply(button);
  test::moveMouse(button, QPoint(19, 10));
  click();
  EXPECT_FALSE(button->hovering());
  EXPECT_EQ(button->state(), ButtonState::kReleased);
  EXPECT_TRUE(parent.delivered().empty());
}

INSTANTIATE_TEST_SUITE_P(
    States, ButtonIgnoresMouse,
    ::testing::Values(IgnoreCase{"Disabled", [](ImageButton* b) { b->setEnabled(false); }},
                      IgnoreCase{"Hidden", [](ImageButton* b) { b->hide(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonFixture, NotClickableButtonStillHoversButNeverClicks) {
  button->setState(ButtonState::kReleased);
  button->setClickable(false);
  test::moveMouse(button, QPoint(19, 10));
  EXPECT_TRUE(button->hovering());
  click();
  EXPECT_EQ(button->state(), ButtonState::kReleased);
  EXPECT_TRUE(parent.delivered().empty());
}

TEST(Button, DeclaredFrameCountWinsAndAMissingImageLeavesBackgroundAndText) {
  test::MessageRecorder parent;
  ImageButton button(ID, &parent);
  button.setGeometry(0, 0, 78, 40);  // twice the frame size
  QImage strip = testStrip();
  strip.setText("zr78-frames", "4");
  button.setImage(&parent.surface, strip);
  EXPECT_EQ(button.frameCount(), 4) << "156 / 78 would say 2";
  EXPECT_EQ(button.composedImage().pixelColor(40, 35), QColor(Qt::red));

  ImageButton bare(ID + 1, &parent);
  bare.setGeometry(100, 0, 60, 20);
  bare.setImage(&parent.surface, 99999);  // no such resource
  bare.setFontStyle(14, "Arial Bold", QColor(186, 194, 208), Qt::white, 1 | 4 | 32);
  bare.setText("Mixer");
  EXPECT_EQ(bare.text(), "Mixer");
  const QImage face = bare.composedImage();
  EXPECT_EQ(face.pixelColor(1, 1), QColor(73, 72, 72)) << "the panel's background";
  bool inked = false;
  for (int x = 0; x < face.width(); ++x) inked |= face.pixelColor(x, 10) != QColor(73, 72, 72);
  EXPECT_TRUE(inked) << "the caption is drawn";
}

}  // namespace
}  // namespace zr78
