// The progress window: the bar from its stub to the full width, the text,
// the look (translucent, rounded) and the centring over the owner.
#include "app/progress_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

namespace zr78::test {
namespace {

class ProgressWindowTest : public ::testing::Test {
 protected:
  ProgressWindowTest() : progress(&owner) {
    owner.setGeometry(100, 80, 1278, 718);
    owner.show();
    progress.setRange(1678);
    progress.setFormat("Read Device Data:%5.0f %%");
  }
  QWidget owner;
  ProgressWindow progress;
};

TEST_F(ProgressWindowTest, BarAndTextFromStubToFull) {
  progress.setValue(0);
  EXPECT_EQ(progress.barWidth(), 27);
  EXPECT_EQ(progress.text(), "Read Device Data:    0 %");
  const QImage empty = progress.picture();
  progress.setValue(1678);
  EXPECT_EQ(progress.barWidth(), 516);
  EXPECT_EQ(progress.text(), "Read Device Data:  100 %");
  const QImage full = progress.picture();
  // Inside the bar's track the full bar differs from the empty one, beyond
  // 516 pixels nothing changes.
  EXPECT_NE(full.pixel(300, 68), empty.pixel(300, 68));
  EXPECT_EQ(full.pixel(530, 68), empty.pixel(530, 68));
  EXPECT_EQ(full.size(), QSize(541, 161));
}

TEST_F(ProgressWindowTest, TranslucentWithRoundedCorners) {
  progress.show();
  QApplication::processEvents();
  EXPECT_NEAR(progress.windowOpacity(), 220.0 / 255.0, 0.01);
  EXPECT_EQ(progress.size(), QSize(541, 161));
  EXPECT_FALSE(progress.mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(progress.mask().contains(QPoint(270, 80)));
  EXPECT_TRUE(progress.mask().contains(QPoint(270, 0)));
}

TEST_F(ProgressWindowTest, EveryValueCentresOverTheOwner) {
  progress.show();
  progress.setValue(10);
  const QRect o = owner.frameGeometry();
  EXPECT_EQ(progress.pos(),
            QPoint((2 * o.left() + o.width() - 541) / 2, (2 * o.top() + o.height() - 161) / 2));
  owner.move(400, 300);
  QApplication::processEvents();
  const QRect moved = owner.frameGeometry();
  progress.setValue(20);
  EXPECT_EQ(progress.pos(), QPoint((2 * moved.left() + moved.width() - 541) / 2,
                                   (2 * moved.top() + moved.height() - 161) / 2));
}

TEST_F(ProgressWindowTest, ClosingClearsTheTextAndRecentres) {
  progress.show();
  progress.setValue(839);
  progress.move(0, 0);
  progress.close();
  EXPECT_FALSE(progress.isVisible());
  EXPECT_EQ(progress.text(), "");
  EXPECT_EQ(progress.barWidth(), 27);
  EXPECT_EQ(progress.pos(), progress.centredPosition());
}

}  // namespace
}  // namespace zr78::test
