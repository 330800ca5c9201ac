#include "app/main_layout.h"

#include <gtest/gtest.h>

namespace zr78 {
namespace {

TEST(MainLayoutTest, ScaleFactorsFollowTheClient) {
  const CanvasScale full = CanvasScale::forClient(1278, 718);
  EXPECT_DOUBLE_EQ(full.x, 1.0);
  EXPECT_DOUBLE_EQ(full.y, 1.0);
  const CanvasScale wide = CanvasScale::forClient(2556, 1077);
  EXPECT_DOUBLE_EQ(wide.x, 2.0);
  EXPECT_DOUBLE_EQ(wide.y, 1.5);
  EXPECT_DOUBLE_EQ(wide.min, 1.5);
}

// The bottom follows scaleMin (and rounds), the other edges truncate.
TEST(MainLayoutTest, PlacementRule) {
  struct Case {
    const char* name;
    int width, height;
    CanvasRect design, placed;
  } cases[] = {
      {"design size", 1278, 718, {1187, 33, 1270, 58}, {1187, 33, 1270, 58}},
      {"half size", 639, 359, {1187, 33, 1270, 58}, {593, 16, 635, 29}},
      {"twice", 2556, 1436, {123, 0, 323, 29}, {246, 0, 646, 58}},
      {"wide: height by scaleMin", 2556, 718, {0, 65, 1278, 464}, {0, 65, 2556, 464}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CanvasScale::forClient(c.width, c.height).place(c.design), c.placed) << c.name;
  }
}

TEST(MainLayoutTest, VisibleButtonsTakeTheSlotsFromTheRight) {
  std::array<bool, kTopButtonCount> visible{};
  for (int j = 0; j < kTopButtonCount; ++j) visible[j] = kTopButtons[j].visible;
  auto rects = topButtonDesignRects(visible);
  EXPECT_EQ(rects[kButtonStatus].left, 1187);
  EXPECT_EQ(rects[kButtonSystem].left, 1097);
  EXPECT_EQ(rects[kButtonMixer].left, 1007);
  EXPECT_EQ(rects[kButtonMixer].width(), 83);

  // A hidden "system" button leaves no gap: "Mixer" moves into its slot and
  // a shown "DSP" button follows it.
  visible[kButtonSystem] = false;
  visible[kButtonDeviceKind] = true;
  rects = topButtonDesignRects(visible);
  EXPECT_EQ(rects[kButtonMixer].left, 1097);
  EXPECT_EQ(rects[kButtonDeviceKind].left, 1007);
  EXPECT_EQ(rects[kButtonMinimise], kTopButtons[kButtonMinimise].rect);
}

TEST(MainLayoutTest, VolumeRowRunsFromLeftToRight) {
  const VolumeRowLayout row = layoutVolumeRow(CanvasScale::forClient(1278, 718));
  EXPECT_EQ(row.label, (CanvasRect{18, 33, 114, 57}));
  EXPECT_EQ(row.slider, (CanvasRect{114, 35, 284, 54}));
  EXPECT_EQ(row.selector, (CanvasRect{294, 33, 403, 57}));
  const VolumeRowLayout half = layoutVolumeRow(CanvasScale::forClient(639, 359));
  EXPECT_EQ(half.slider.left, half.label.right);
  EXPECT_EQ(half.selector.left, half.slider.right + 5);
  EXPECT_EQ(half.slider.width(), 85);
}

}  // namespace
}  // namespace zr78
