#include "app/channel_strip_layout.h"

#include <algorithm>

namespace zr78 {

namespace {

constexpr std::array<int, kStripVisibleColumns> kColumnX = {269, 396, 524, 652,
                                                            780, 908, 1035, 1163};
constexpr int kHiddenColumnStep = 128;
constexpr int kLinkStep = 103;

// Column 0's rectangles; the other columns are shifted by their x.
constexpr CanvasRect kColumnZero[] = {
    {269, 13, 361, 33},          // channel select
    {269, 43, 361, 62},          // role selector
    {269, 74, 269 + 40, 74 + 109},  // gain fader, 40 × 109
    {322, 79, 361, 101},         // phase
    {322, 119, 361, 141},        // mute
    {322, 156, 361, 176},        // gain box
    {251, 188, 267, 204},        // delay chain
    {267, 188, 307, 208},        // "Delay:"
    {322, 188, 361, 208},        // delay box
};
constexpr CanvasRect kLinkZero{442, 223, 458, 239};
constexpr CanvasRect kLinkLabelZero{459, 221, 544, 241};

constexpr CanvasRect kUnitButtons[kDelayUnitCount] = {
    {41, 12, 57, 28}, {101, 12, 117, 28}, {161, 12, 177, 28}};

// Left and top; icons 10..13 lie on their side.
struct IconPlace {
  int left, top;
  bool wide;
};
constexpr IconPlace kIcons[kCarIcons] = {
    {59, 67, false},  {36, 83, false},  {59, 100, false}, {167, 67, false}, {190, 83, false},
    {167, 100, false}, {59, 161, false}, {59, 194, false}, {167, 161, false}, {167, 194, false},
    {90, 36, true},   {124, 36, true},  {90, 216, true},  {124, 216, true}};
constexpr int kIconLong = 33;
constexpr int kIconShort = 23;

int columnX(int column) {
  if (column < kStripVisibleColumns) return kColumnX[static_cast<size_t>(std::max(column, 0))];
  return kColumnX.back() + kHiddenColumnStep * (column - kStripVisibleColumns + 1);
}

CanvasRect shifted(CanvasRect r, int dx) {
  r.left += dx;
  r.right += dx;
  return r;
}

CanvasRect hiddenIfUnseen(CanvasRect r, int column) {
  if (column < kStripVisibleColumns) return r;
  const int height = r.height();
  r.top = kStripHiddenTop;
  r.bottom = kStripHiddenTop + height;
  return r;
}

}  // namespace

CanvasRect stripRect(StripElement element, int column) {
  column = std::clamp(column, 0, kStripColumns - 1);
  CanvasRect r;
  switch (element) {
    case StripElement::kLink:
      r = shifted(kLinkZero, kLinkStep * column);
      break;
    case StripElement::kLinkLabel:
      r = shifted(kLinkLabelZero, kLinkStep * column);
      break;
    default:
      r = shifted(kColumnZero[static_cast<int>(element)], columnX(column) - kColumnX[0]);
      break;
  }
  return hiddenIfUnseen(r, column);
}

CanvasRect delayUnitButtonRect(int unit) {
  return kUnitButtons[std::clamp(unit, 0, kDelayUnitCount - 1)];
}

// Each label fills the gap up to the next button (the last one as wide).
CanvasRect delayUnitLabelRect(int unit) {
  const CanvasRect b = delayUnitButtonRect(unit);
  const int gap = kUnitButtons[1].left - kUnitButtons[0].right;
  return {b.right, b.top, b.right + gap, b.bottom};
}

CanvasRect carIconRect(int icon) {
  const IconPlace& at = kIcons[std::clamp(icon, 0, kCarIcons - 1)];
  const int w = at.wide ? kIconLong : kIconShort;
  const int h = at.wide ? kIconShort : kIconLong;
  return {at.left, at.top, at.left + w, at.top + h};
}

CanvasRect offScreenRect(int width, int height) {
  return {0, kStripHiddenTop, width, kStripHiddenTop + height};
}

}  // namespace zr78
