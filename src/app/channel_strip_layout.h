// The channel strip's layout on its design canvas: the panel is the lower
// band of the main window (1278 × 254 design pixels) and every control has a
// design rectangle within it, placed with the main window's scale factors.
// Twelve columns of per-channel controls exist; columns 8..11 are laid out
// off-screen (top −1000, height kept). Data only, so it is testable without
// a window.
#pragma once

#include <array>

#include "app/main_layout.h"

namespace zr78 {

inline constexpr int kStripColumns = 12;        // controls exist for twelve columns
inline constexpr int kStripVisibleColumns = 8;  // only the eight channels are seen
inline constexpr int kStripHiddenTop = -1000;

// The per-column controls, as placed in column 0.
enum class StripElement {
  kChannelSelect,
  kRoleSelector,
  kGainFader,
  kPhase,
  kMute,
  kGainBox,
  kDelayChain,
  kDelayLabel,
  kDelayBox,
  kLink,       // the link row: one button per channel, 103 apart
  kLinkLabel,  // its "CH%d" label
};

// The design rectangle of an element in column c (0..11).
CanvasRect stripRect(StripElement element, int column);

// Controls that are not per column.
inline constexpr CanvasRect kLockRect{256, 221, 348, 241};
inline constexpr CanvasRect kLinkLeftRightLabelRect{360, 221, 430, 241};
inline constexpr int kDelayUnitCount = 3;  // ms, cm, inch
CanvasRect delayUnitButtonRect(int unit);
CanvasRect delayUnitLabelRect(int unit);

// The car diagram's fourteen icons: 23 × 33 at the doors, 33 × 23 at the
// dashboard and the rear.
inline constexpr int kCarIcons = 14;
CanvasRect carIconRect(int icon);

// Where the controls that are never seen wait (the off-screen master volume,
// the unit list, the spare toggles and labels).
CanvasRect offScreenRect(int width, int height);

}  // namespace zr78
