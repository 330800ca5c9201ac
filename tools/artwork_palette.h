// Colours and small drawing helpers of the program's artwork: a dark,
// precise car-audio look on the panel grey (73, 72, 72) with one cyan accent.
#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace zr78::art {

inline const QColor PANEL(73, 72, 72);
inline const QColor PANEL_DARK(52, 51, 52);
inline const QColor WELL(36, 36, 38);
inline const QColor GROOVE(20, 20, 22);
inline const QColor EDGE_DARK(26, 26, 28);
inline const QColor EDGE_LIGHT(255, 255, 255, 34);
inline const QColor TEXT(186, 194, 208);
inline const QColor ACCENT(0, 168, 232);
inline const QColor ACCENT_DIM(0, 96, 140);
inline const QColor GREEN(64, 206, 120);
inline const QColor RED(232, 70, 64);

inline QColor withAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

inline QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

// A rounded plate: gradient fill, dark outline and a one-pixel highlight
// along its top inner edge.
inline void plate(QPainter& p, const QRectF& r, double radius, const QColor& top,
                  const QColor& bottom, const QColor& outline = EDGE_DARK) {
  const QRectF o = r.adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(outline, 1));
  p.setBrush(vertical(o, top, bottom));
  p.drawRoundedRect(o, radius, radius);
  p.setPen(QPen(EDGE_LIGHT, 0.75));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(o.left() + radius, o.top() + 1), QPointF(o.right() - radius, o.top() + 1));
}

// Transparent highlight drawn over any frame while the pointer hovers.
inline void hoverOverlay(QPainter& p, const QRectF& r, double radius) {
  const QRectF o = r.adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(withAlpha(ACCENT, 150), 1));
  p.setBrush(QColor(255, 255, 255, 20));
  p.drawRoundedRect(o, radius, radius);
}

}  // namespace zr78::art
