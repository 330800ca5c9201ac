#include "controls/fader_geometry.h"

#include <cmath>
#include <cstdlib>

namespace zr78 {

const FaderSkin& faderSkin(int index) {
  static const FaderSkin skins[FADER_SKIN_COUNT] = {
      {18, 98, 86, 12, 9, 16, 23},    {51, 124, 112, 12, 40, 16, 23},
      {79, 137, 125, 12, 39, 16, 23}, {40, 98, 86, 12, 20, 16, 23},
      {38, 122, 111, 10, 30, 16, 23}, {131, 22, 15, 116, 11, 30, 20},
  };
  return skins[index >= 0 && index < FADER_SKIN_COUNT ? index : 0];
}

FaderGeometry FaderGeometry::compute(const FaderSkin& skin, QSize client, bool vertical) {
  FaderGeometry g;
  g.vertical = vertical;
  g.fx = client.width() / skin.width;
  g.fy = client.height() / skin.height;
  const double along = vertical ? g.fy : g.fx;
  g.start = skin.start * along;
  g.end = skin.end * along;
  g.cross = skin.cross * (vertical ? g.fx : g.fy);
  g.knobWidth = static_cast<int>(skin.knobWidth * g.fx);
  g.knobHeight = static_cast<int>(skin.knobHeight * g.fy);
  return g;
}

// offset = |minimum| + position runs over [0, range] for the ranges the
// program uses (minimum ≤ 0 ≤ maximum).
double FaderGeometry::knobCentre(int position, int minimum, int maximum) const {
  const double range = maximum - minimum;
  if (range == 0) return start;
  const double offset = std::abs(minimum) + position;
  return end > start ? start + offset * (end - start) / range
                     : start - offset * (start - end) / range;
}

int FaderGeometry::positionAt(double along, int minimum, int maximum) const {
  const double range = maximum - minimum;
  const double span = std::abs(end - start);
  if (range == 0 || span == 0) return minimum;
  const double base = std::abs(minimum) * span / range;
  const double v = end > start ? (along - start - base) * range / span
                               : (start - along - base) * range / span;
  // The nudge keeps a knob centre computed by knobCentre on its own position
  // despite rounding in the division.
  return static_cast<int>(std::trunc(v + std::copysign(1e-9, v)));
}

QRectF FaderGeometry::knobRect(int position, int minimum, int maximum) const {
  const double c = knobCentre(position, minimum, maximum);
  const QPointF centre = vertical ? QPointF(cross, c) : QPointF(c, cross);
  return QRectF(centre.x() - knobWidth / 2.0, centre.y() - knobHeight / 2.0, knobWidth, knobHeight);
}

}  // namespace zr78
