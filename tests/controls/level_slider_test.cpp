#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "controls/level_slider.h"
#include "message_recorder.h"

namespace zr78 {
namespace {

constexpr int ID = 6034;

struct StepCase {
  const char* name;
  SliderSteps steps;
  double start;
  bool up;
  double expected;
};

class SliderStepping : public ::testing::TestWithParam<StepCase> {};

TEST_P(SliderStepping, StepsQuantiseAndClamp) {
  const StepCase& c = GetParam();
  EXPECT_NEAR(c.up ? c.steps.up(c.start) : c.steps.down(c.start), c.expected, 1e-9);
}

const SliderSteps VOLUME{-60, 0, -60, 0.1};
const SliderSteps PERCENT{0, 100, 0, 0.1};
const SliderSteps FINE_BELOW_10{0, 100, 10, 0.1};

INSTANTIATE_TEST_SUITE_P(
    Rules, SliderStepping,
    ::testing::Values(StepCase{"RightArrowAtTopStays", VOLUME, 0, true, 0},
                      StepCase{"LeftArrowAtBottomStays", VOLUME, -60, false, -60},
                      StepCase{"WholeDecibelsUp", VOLUME, -30, true, -29},
                      StepCase{"WholeDecibelsDown", VOLUME, -30, false, -31},
                      StepCase{"CodeValueStepsUpRounded", PERCENT, 37.6, true, 39},
                      StepCase{"DownAcrossFineBelow", FINE_BELOW_10, 10.4, false, 9.4},
                      StepCase{"FineStepBelow", FINE_BELOW_10, 9.4, false, 9.3},
                      StepCase{"FineStepUpBelow", FINE_BELOW_10, 9.3, true, 9.4},
                      StepCase{"BottomOfPercent", PERCENT, 0.4, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SliderGeometry, ValueAndXMapRoundTripAtBothScales) {
  for (QSize client : {QSize(170, 19), QSize(340, 38)}) {
    for (bool toggle : {false, true}) {
      const auto g = SliderGeometry::layout(client, toggle, false);
      EXPECT_DOUBLE_EQ(g.xOf(-60, -60, 0), g.trackStart);
      EXPECT_DOUBLE_EQ(g.xOf(0, -60, 0), g.trackEnd);
      for (double v = -60; v <= 0; v += 7.5) EXPECT_NEAR(g.valueAt(g.xOf(v, -60, 0), -60, 0), v, 1e-9);
    }
  }
  const auto g = SliderGeometry::layout(QSize(170, 19), true, false);
  EXPECT_DOUBLE_EQ(g.trackEnd, 144);
  EXPECT_DOUBLE_EQ(g.trackY, 10.5);
  EXPECT_DOUBLE_EQ(g.thumbHeight, 16);
  EXPECT_EQ(g.toggleRect, QRectF(153, 2, 15, 15));
  EXPECT_DOUBLE_EQ(SliderGeometry::layout(QSize(170, 33), false, true).trackY, 24.5);
}

struct SliderFixture : ::testing::Test {
  void SetUp() override {
    slider = new LevelSlider(ID, &parent);
    slider->setGeometry(20, 20, 170, 19);
    slider->setBackground(&parent.surface, QImage());  // geometry only, no artwork
    slider->setRange(-60, 0);
    slider->setFineBelow(-60);
    slider->setGlowBar(false);
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
  }
  QPoint thumbCentre() const {
    return slider->geometryCache().thumbRect(slider->sliderValue(), -60, 0).center().toPoint();
  }
  void wheel(int delta) {
    QWheelEvent e(QPointF(5, 10), slider->mapToGlobal(QPointF(5, 10)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &e);
  }
  std::vector<qintptr> values() const {
    std::vector<qintptr> out;
    for (const auto& m : parent.messages) out.push_back(m.lParam);
    return out;
  }
  test::MessageRecorder parent;
  LevelSlider* slider = nullptr;
};

TEST_F(SliderFixture, DraggingMovesInWholeDecibelsAndStaysInRange) {
  slider->setSliderValue(-60);
  EXPECT_TRUE(slider->active());
  EXPECT_TRUE(parent.messages.empty()) << "a value set by code is not notified";
  const QPoint start = thumbCentre();
  QTest::mousePress(slider, Qt::LeftButton, {}, start);
  ASSERT_TRUE(slider->dragging());
  test::moveMouse(slider, QPoint(qRound(slider->geometryCache().xOf(-20, -60, 0)), start.y()), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(slider->sliderValue(), -20);
  test::moveMouse(slider, QPoint(169, start.y()), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(slider->sliderValue(), 0);
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(169, start.y()));
  EXPECT_EQ(values(), (std::vector<qintptr>{-60, -20, 0, 0}));
  EXPECT_EQ(parent.messages.front().message, ID);
}

TEST_F(SliderFixture, WheelKeysAndTrackClicksStepOneDecibel) {
  slider->setSliderValue(-30);
  wheel(120);
  wheel(-120);
  wheel(-120);
  QTest::keyClick(slider, Qt::Key_Right);
  QTest::keyClick(slider, Qt::Key_Up);  // swallowed
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(160, thumbCentre().y()));  // right of the thumb
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(12, thumbCentre().y()));   // left of it
  EXPECT_EQ(values(), (std::vector<qintptr>{-29, -30, -31, -30, -29, -30}));
  slider->setSliderValue(0);
  QTest::keyClick(slider, Qt::Key_Right);
  EXPECT_DOUBLE_EQ(slider->sliderValue(), 0);
}

TEST_F(SliderFixture, ToggleCarriesTheSwitchAndClickingItNotifiesTheLevel) {
  slider->setRange(0, 100);
  slider->setFineBelow(0);
  slider->setToggleMode(true, 500);
  slider->setSliderValue(520);
  EXPECT_DOUBLE_EQ(slider->sliderValue(), 20);
  EXPECT_EQ(slider->toggleOn(), 500);
  QTest::mouseClick(slider, Qt::LeftButton, {},
                    slider->geometryCache().toggleRect.center().toPoint());
  EXPECT_EQ(slider->toggleOn(), 0);
  EXPECT_EQ(values(), (std::vector<qintptr>{20}));
  slider->setSliderValue(30);
  EXPECT_EQ(slider->toggleOn(), 0);
}

TEST_F(SliderFixture, FocusLossShowsTheIdleThumb) {
  slider->setSliderValue(-10);
  EXPECT_TRUE(slider->active());
  slider->clearFocus();
  EXPECT_FALSE(slider->active());
}

// Columns of the caption band that hold ink, split into thirds.
std::array<bool, 3> inkThirds(const QImage& img, int bandBottom) {
  std::array<bool, 3> ink{};
  for (int x = 0; x < img.width(); ++x) {
    for (int y = 0; y < bandBottom; ++y) {
      if (img.pixelColor(x, y) != QColor(73, 72, 72)) ink[std::min(2, 3 * x / img.width())] = true;
    }
  }
  return ink;
}

TEST(SliderCaption, NameAndColonLeftValueRightOrAllLeftWithoutColon) {
  test::MessageRecorder parent;
  LevelSlider slider(ID, &parent);
  slider.setGeometry(0, 0, 340, 66);
  slider.setTallFrame(true);
  slider.setBackground(&parent.surface, QImage());
  slider.setGlowBar(false);
  slider.setTextColour(Qt::white);
  slider.setText("Vol:-20");
  const int band = static_cast<int>(slider.geometryCache().trackY - 4);
  EXPECT_EQ(inkThirds(slider.composedImage(), band), (std::array<bool, 3>{true, false, true}));
  slider.setText("Vol-20");
  EXPECT_EQ(inkThirds(slider.composedImage(), band), (std::array<bool, 3>{true, false, false}));
}

}  // namespace
}  // namespace zr78
