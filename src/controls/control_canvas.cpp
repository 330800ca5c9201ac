#include "controls/control_canvas.h"

#include <QPainter>
#include <QWidget>

#include "controls/panel_surface.h"

namespace zr78 {

const QImage& ControlCanvas::background(const QWidget* widget) {
  if (!backgroundValid_ || background_.size() != widget->size()) {
    background_ = captureBackground(source_, widget);
    backgroundValid_ = true;
    faceValid_ = false;
  }
  return background_;
}

QImage ControlCanvas::startFace(const QWidget* widget) {
  QImage face = background(widget);
  face.detach();
  return face;
}

void ControlCanvas::paint(QWidget* widget) const {
  if (face_.isNull()) return;
  QPainter p(widget);
  p.drawImage(QPoint(0, 0), face_);
}

void ControlCanvas::drawOnto(const QWidget* widget, PanelSurface& surface) const {
  if (face_.isNull() || surface.image().isNull()) return;
  QPainter p(&surface.image());
  const qreal dpr = surface.image().devicePixelRatio();
  p.scale(1.0 / dpr, 1.0 / dpr);
  const QPoint at = surface.originOf(widget);
  p.drawImage(QRectF(at.x() * dpr, at.y() * dpr, face_.width() * dpr, face_.height() * dpr),
              face_);
}

int qtTextFlags(int formatBits) {
  int flags = Qt::TextDontClip;
  if (formatBits & TEXT_HCENTRE) flags |= Qt::AlignHCenter;
  else if (formatBits & TEXT_RIGHT) flags |= Qt::AlignRight;
  else flags |= Qt::AlignLeft;
  if (formatBits & TEXT_VCENTRE) flags |= Qt::AlignVCenter;
  else if (formatBits & TEXT_BOTTOM) flags |= Qt::AlignBottom;
  else flags |= Qt::AlignTop;
  flags |= (formatBits & TEXT_SINGLE_LINE) ? Qt::TextSingleLine : Qt::TextWordWrap;
  return flags;
}

void drawFormattedText(QPainter& painter, const QRectF& rect, const QString& text,
                       const QFont& font, const QColor& colour, int formatBits) {
  if (text.isEmpty()) return;
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(rect, qtTextFlags(formatBits), text);
}

void prepareSmoothPainter(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setRenderHint(QPainter::TextAntialiasing);
}

}  // namespace zr78
