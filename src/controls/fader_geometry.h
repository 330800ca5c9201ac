// Geometry of the fader: where the knob sits for a position and which
// position a pointer coordinate means. Both directions use the one linear
// map below, so they cannot drift apart. No widget needed.
#pragma once

#include <QRectF>
#include <QSize>

namespace zr78 {

// A fader skin in design pixels of its track image: the knob centre at the
// minimum (start) and maximum (end) along the moving axis, the knob centre
// on the other axis (cross), and the knob size.
struct FaderSkin {
  double width, height;
  double start, end, cross;
  double knobWidth, knobHeight;
};

inline constexpr int FADER_SKIN_COUNT = 6;
// Skin 0 is the EQ band fader, 5 the horizontal routing fader.
const FaderSkin& faderSkin(int index);

struct FaderGeometry {
  bool vertical = true;
  double fx = 1, fy = 1;  // client size / skin image size
  double start = 0, end = 0, cross = 0;
  int knobWidth = 0, knobHeight = 0;

  static FaderGeometry compute(const FaderSkin& skin, QSize client, bool vertical);

  // Knob centre along the moving axis for a position in [minimum, maximum].
  double knobCentre(int position, int minimum, int maximum) const;
  // Position for a pointer coordinate along the moving axis (not clamped).
  int positionAt(double along, int minimum, int maximum) const;
  QRectF knobRect(int position, int minimum, int maximum) const;
};

}  // namespace zr78
