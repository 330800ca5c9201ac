#include <QImage>

#include <gtest/gtest.h>

#include "controls/panel_surface.h"

namespace zr78 {
namespace {

QImage solid(int w, int h, QColor c) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(c);
  return img;
}

TEST(MemDc, NewSurfaceIsLightGreyWithABorderInThePenColour) {
  PanelSurface dc;
  EXPECT_FALSE(dc.selected());
  dc.setPen(QColor(10, 20, 30));
  dc.create(0, 0, 20, 10);
  ASSERT_TRUE(dc.selected());
  ASSERT_EQ(dc.image().size(), QSize(20, 10));
  const QImage& img = dc.image();
  for (QPoint edge : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 9), QPoint(19, 9), QPoint(10, 0), QPoint(0, 5)}) {
    EXPECT_EQ(img.pixelColor(edge), QColor(10, 20, 30)) << edge.x() << "," << edge.y();
  }
  EXPECT_EQ(img.pixelColor(1, 1), QColor(240, 240, 240));
  EXPECT_EQ(img.pixelColor(18, 8), QColor(240, 240, 240));
}

TEST(MemDc, CreateWithAnEmptySizeLeavesTheSurfaceUnchanged) {
  PanelSurface dc;
  dc.create(0, 0, 8, 8);
  dc.image().fill(Qt::red);
  for (QRect r : {QRect(QPoint(0, 0), QPoint(-1, 7)), QRect(QPoint(0, 0), QPoint(7, -1)),
                  QRect(QPoint(5, 5), QPoint(2, 9))}) {
    dc.create(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    EXPECT_EQ(dc.image().size(), QSize(8, 8));
    EXPECT_EQ(dc.image().pixelColor(4, 4), QColor(Qt::red));
    EXPECT_EQ(dc.right(), 8);
  }
}

TEST(MemDc, CopyInGrowsOnlyForALargerSourceAndThenLosesTheOldPicture) {
  PanelSurface dc;
  dc.create(0, 0, 10, 10);
  dc.image().fill(Qt::red);

  dc.copyIn(solid(4, 4, Qt::blue), 0, 0, 4, 4);  // smaller: content kept
  EXPECT_EQ(dc.image().size(), QSize(10, 10));
  EXPECT_EQ(dc.image().pixelColor(2, 2), QColor(Qt::blue));
  EXPECT_EQ(dc.image().pixelColor(8, 8), QColor(Qt::red));

  dc.copyIn(solid(12, 6, Qt::green), 0, 0, 12, 6);  // wider: recreated
  EXPECT_EQ(dc.image().size(), QSize(12, 6));
  EXPECT_EQ(dc.right(), 12);
  EXPECT_EQ(dc.bottom(), 6);
  EXPECT_EQ(dc.image().pixelColor(2, 2), QColor(Qt::green));
  EXPECT_EQ(dc.image().pixelColor(11, 5), QColor(Qt::green));
}

TEST(MemDc, StretchInAppliesTheSameGrowthRule) {
  PanelSurface dc;
  dc.create(0, 0, 10, 10);
  dc.image().fill(Qt::red);
  dc.stretchIn(solid(2, 2, Qt::blue), QRect(0, 0, 5, 5), QRectF(0, 0, 2, 2));
  EXPECT_EQ(dc.image().size(), QSize(10, 10));
  EXPECT_EQ(dc.image().pixelColor(2, 2), QColor(Qt::blue));
  EXPECT_EQ(dc.image().pixelColor(7, 7), QColor(Qt::red));
  dc.stretchIn(solid(2, 2, Qt::blue), QRect(0, 0, 20, 20), QRectF(0, 0, 2, 2));
  EXPECT_EQ(dc.image().size(), QSize(20, 20));
  EXPECT_EQ(dc.image().pixelColor(15, 15), QColor(Qt::blue));
}

TEST(MemDc, ReleaseEmptiesTheSurfaceAndAControlUnderItGetsGrey) {
  PanelSurface dc;
  dc.create(0, 0, 10, 10);
  dc.release();
  EXPECT_FALSE(dc.selected());
  EXPECT_TRUE(dc.image().isNull());
  QWidget w;
  w.resize(4, 3);
  const QImage bg = dc.backgroundFor(&w);
  EXPECT_EQ(bg.size(), QSize(4, 3));
  EXPECT_EQ(bg.pixelColor(1, 1), QColor(240, 240, 240));
}

TEST(MemDc, ControlsTakeTheirBackgroundAtTheirPlaceOnTheOwnersSurface) {
  QWidget panel;
  panel.resize(40, 40);
  QWidget holder(&panel);
  holder.setGeometry(10, 10, 20, 20);
  QWidget control(&holder);
  control.setGeometry(5, 5, 4, 4);
  PanelSurface dc(&panel, QRect(0, 0, 40, 40));
  dc.image().fill(Qt::black);
  dc.image().setPixelColor(15, 15, Qt::yellow);  // the control's top-left on the panel
  const QImage bg = dc.backgroundFor(&control);
  EXPECT_EQ(bg.pixelColor(0, 0), QColor(Qt::yellow));
  EXPECT_EQ(bg.pixelColor(1, 1), QColor(Qt::black));
}

}  // namespace
}  // namespace zr78
