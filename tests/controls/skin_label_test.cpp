#include <gtest/gtest.h>

#include "controls/control_canvas.h"
#include "controls/font_map.h"
#include "controls/skin_label.h"
#include "message_recorder.h"

namespace zr78 {
namespace {

const QColor PANEL(73, 72, 72);

// Leftmost and rightmost columns that hold text ink.
std::pair<int, int> inkColumns(const QImage& img) {
  int first = -1, last = -1;
  for (int x = 0; x < img.width(); ++x) {
    for (int y = 0; y < img.height(); ++y) {
      if (img.pixelColor(x, y) != PANEL) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  return {first, last};
}

struct LabelFixture : ::testing::Test {
  SkinLabel* make(QRect geometry) {
    auto* label = new SkinLabel(&parent);
    label->setGeometry(geometry);
    label->setBackgroundSource(&parent.surface);
    return label;
  }
  test::MessageRecorder parent;
};

TEST_F(LabelFixture, CentredTextLongerThanTheLabelOverflowsEquallyOnBothSides) {
  SkinLabel* label = make(QRect(10, 10, 40, 20));
  label->setTextStyle(14, "Arial Bold", QColor(186, 194, 208), TEXT_HCENTRE | TEXT_VCENTRE | TEXT_SINGLE_LINE);
  label->setText("Read Device Data");
  const auto [first, last] = inkColumns(label->composedImage());
  EXPECT_EQ(first, 0) << "not cut at the left";
  EXPECT_EQ(last, 39) << "not cut at the right";

  // A short text sits symmetrically in the middle.
  label->setText("HI");
  const auto [l, r] = inkColumns(label->composedImage());
  EXPECT_GT(l, 0);
  EXPECT_LE(std::abs(l - (39 - r)), 2);
}

TEST_F(LabelFixture, MissingFaceFallsBackToTheGenericSansSerifAtTheSameSize) {
  SkinLabel* missing = make(QRect(0, 0, 80, 20));
  SkinLabel* generic = make(QRect(0, 30, 80, 20));
  missing->setTextStyle(13, "No Such Face", Qt::white, TEXT_VCENTRE);
  generic->setTextStyle(13, genericSansFamily(), Qt::white, TEXT_VCENTRE);
  missing->setText("Gain 12");
  generic->setText("Gain 12");
  EXPECT_EQ(missing->composedImage(), generic->composedImage());
}

TEST_F(LabelFixture, TextIsKeptByTheControlAndTheSameTextTwiceLooksTheSame) {
  SkinLabel* label = make(QRect(0, 0, 60, 16));
  label->setText("Limiter");  // never painted yet
  EXPECT_EQ(label->text(), "Limiter");
  EXPECT_EQ(label->text(3), "Lim");
  EXPECT_EQ(label->textLength(), 7);
  const QImage once = label->composedImage();
  label->setTextNow("Limiter");
  EXPECT_EQ(label->composedImage(), once);
}

TEST_F(LabelFixture, FillIsDrawnOnlyWithANonZeroAlphaAndEmptyTextDrawsNothing) {
  SkinLabel* label = make(QRect(0, 0, 20, 10));
  EXPECT_EQ(label->composedImage().pixelColor(5, 5), PANEL);
  label->setFillColour(QColor(255, 0, 0, 0));
  EXPECT_EQ(label->composedImage().pixelColor(5, 5), PANEL);
  label->setFillColour(QColor(0, 150, 210));
  EXPECT_EQ(label->composedImage().pixelColor(5, 5), QColor(0, 150, 210));
  EXPECT_EQ(label->composedImage().pixelColor(0, 0), QColor(0, 150, 210));
}

TEST_F(LabelFixture, WithoutASourceTheBackgroundIsLightGreyAndDrawOntoCopiesTheImage) {
  SkinLabel label(&parent);
  label.setGeometry(30, 20, 10, 10);
  EXPECT_EQ(label.composedImage().pixelColor(2, 2), QColor(240, 240, 240));
  label.drawOnto(parent.surface);
  EXPECT_EQ(parent.surface.image().pixelColor(32, 22), QColor(240, 240, 240));
  EXPECT_EQ(parent.surface.image().pixelColor(28, 22), PANEL);
}

}  // namespace
}  // namespace zr78
