// The main window's design canvas: 1278 × 718 design pixels scaled to the
// client area. The placement rule of every control and the top band's
// rectangles live here as data, so layout is testable without a window.
#pragma once

#include <array>

namespace zr78 {

inline constexpr int kDesignWidth = 1278;
inline constexpr int kDesignHeight = 718;

// Left, top, right, bottom in design pixels (or client pixels once placed).
struct CanvasRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const CanvasRect&) const = default;
};

struct CanvasScale {
  double x = 1.0;    // client width / 1278
  double y = 1.0;    // client height / 718
  double min = 1.0;  // the smaller of the two: font sizes, heights

  static CanvasScale forClient(int width, int height);
  // left = L·x, top = T·y, right = left + (R − L)·x, bottom = top + (B − T)·min
  // + 0.5, each truncated.
  CanvasRect place(const CanvasRect& design) const;
  double font(double designSize) const { return designSize * min; }
};

// A control whose visibility flag is 0 waits at this x, its width kept.
inline constexpr int kHiddenX = -1000;

// The twelve top buttons (message 3024 + j).
inline constexpr int kTopButtonCount = 12;
inline constexpr int kButtonMinimise = 0;
inline constexpr int kButtonMaximise = 1;
inline constexpr int kButtonClose = 2;
inline constexpr int kButtonMem = 3;
inline constexpr int kButtonStatus = 4;
inline constexpr int kButtonSystem = 5;
inline constexpr int kButtonMixer = 6;
inline constexpr int kButtonDeviceKind = 7;  // "DSP" / "Amplifier"
inline constexpr int kFirstSlotButton = 4;

struct TopButtonSpec {
  CanvasRect rect;  // buttons from 4 on: the size; the x comes from the slot
  int image;        // PNG resource
  bool visible;     // initial visibility flag
  bool largeFont;   // 14.5 design pixels in the navigation colour; else 12
};

inline constexpr std::array<TopButtonSpec, kTopButtonCount> kTopButtons = {{
    {{1167, 0, 1195, 20}, 156, true, false},
    {{1195, 0, 1223, 20}, 155, true, false},
    {{1223, 0, 1270, 20}, 154, true, false},
    {{405, 33, 477, 57}, 182, false, true},
    {{1187, 33, 1270, 58}, 153, true, true},
    {{1097, 33, 1180, 58}, 153, true, true},
    {{1007, 33, 1090, 58}, 153, true, true},
    {{917, 33, 1000, 58}, 153, false, false},
    {{827, 33, 910, 58}, 153, false, true},
    {{737, 33, 820, 58}, 153, false, true},
    {{647, 33, 730, 58}, 153, false, true},
    {{557, 33, 640, 58}, 153, false, false},
}};

// Buttons 4 and up take the slots 4, 5, 6, ... in the order of their
// visibility: slot 4 is the rightmost, each further slot 90 to the left, so
// hidden buttons leave no gaps. Returns the design rectangle of each button
// (hidden ones keep their own).
std::array<CanvasRect, kTopButtonCount> topButtonDesignRects(
    const std::array<bool, kTopButtonCount>& visible);

// Other parts of the top band and the two panel areas (design pixels).
inline constexpr CanvasRect kTitleRect{123, 0, 323, 29};
inline constexpr CanvasRect kVolumeLabelRect{18, 33, 18 + 96, 33 + 24};
inline constexpr int kSliderTop = 35;
inline constexpr int kSliderWidth = 170;  // × scaleX
inline constexpr int kSliderHeight = 19;  // × scaleX
inline constexpr int kSelectorGap = 10;   // × scaleX
inline constexpr int kSelectorTop = 33;
inline constexpr int kSelectorWidth = 109;       // × scaleX
inline constexpr int kSelectorHeight = 24;       // × scaleX: the skin's layout 3
inline constexpr int kSelectorDropHeight = 100;  // × scaleY
inline constexpr CanvasRect kEqPanelRect{0, 65, 1278, 464};
inline constexpr CanvasRect kChannelPanelRect{0, 464, 1278, 718};
inline constexpr int kDragBandHeight = 29;  // × scaleY: the band that drags the window
inline constexpr int kAboutCorner = 9;      // a click at x, y ≤ 9 shows the about text

// The volume label, slider and input selector from left to right: each next
// control starts where the previous one ends, the selector after a gap.
struct VolumeRowLayout {
  CanvasRect label, slider, selector;
};
VolumeRowLayout layoutVolumeRow(const CanvasScale& scale);

}  // namespace zr78
