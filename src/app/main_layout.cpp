#include "app/main_layout.h"

#include <algorithm>

namespace zr78 {

namespace {
constexpr int kSlotStep = 90;
}

CanvasScale CanvasScale::forClient(int width, int height) {
  CanvasScale s;
  s.x = static_cast<double>(width) / kDesignWidth;
  s.y = static_cast<double>(height) / kDesignHeight;
  s.min = std::min(s.x, s.y);
  return s;
}

CanvasRect CanvasScale::place(const CanvasRect& d) const {
  const double left = d.left * x;
  const double top = d.top * y;
  CanvasRect r;
  r.left = static_cast<int>(left);
  r.top = static_cast<int>(top);
  r.right = static_cast<int>(left + (d.right - d.left) * x);
  r.bottom = static_cast<int>(top + (d.bottom - d.top) * min + 0.5);
  return r;
}

std::array<CanvasRect, kTopButtonCount> topButtonDesignRects(
    const std::array<bool, kTopButtonCount>& visible) {
  std::array<CanvasRect, kTopButtonCount> rects{};
  const CanvasRect slot4 = kTopButtons[kFirstSlotButton].rect;
  int slot = 0;
  for (int j = 0; j < kTopButtonCount; ++j) {
    rects[j] = kTopButtons[j].rect;
    if (j < kFirstSlotButton || !visible[j]) continue;
    const int width = rects[j].width();
    rects[j].left = slot4.left - kSlotStep * slot;
    rects[j].right = rects[j].left + width;
    ++slot;
  }
  return rects;
}

VolumeRowLayout layoutVolumeRow(const CanvasScale& s) {
  VolumeRowLayout row;
  row.label = s.place(kVolumeLabelRect);
  row.slider.left = row.label.right;
  row.slider.top = static_cast<int>(kSliderTop * s.y);
  row.slider.right = row.slider.left + static_cast<int>(kSliderWidth * s.x);
  row.slider.bottom = row.slider.top + static_cast<int>(kSliderHeight * s.x);
  row.selector.left = row.slider.right + static_cast<int>(kSelectorGap * s.x);
  row.selector.top = static_cast<int>(kSelectorTop * s.y);
  row.selector.right = row.selector.left + static_cast<int>(kSelectorWidth * s.x);
  row.selector.bottom = row.selector.top + static_cast<int>(kSelectorHeight * s.x);
  return row;
}

}  // namespace zr78
