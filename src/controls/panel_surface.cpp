#include "controls/panel_surface.h"

#include <QPainter>

#include "controls/png_resource.h"

namespace zr78 {

PanelSurface::PanelSurface(QWidget* window, const QRect& rect) {
  create(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
  owner_ = window;
}

PanelSurface::PanelSurface(int bitmapResourceId) {
  QImage bitmap = loadPngResource(bitmapResourceId);
  if (bitmap.isNull()) return;
  const QSizeF size = bitmap.deviceIndependentSize();
  image_ = std::move(bitmap);
  right_ = qRound(size.width());
  bottom_ = qRound(size.height());
  selected_ = true;
}

void PanelSurface::create(int left, int top, int right, int bottom) {
  if (right - left <= 0 || bottom - top <= 0) return;
  release();
  left_ = left;
  top_ = top;
  right_ = right;
  bottom_ = bottom;
  image_ = QImage(right - left, bottom - top, QImage::Format_ARGB32_Premultiplied);
  image_.fill(Qt::transparent);
  selected_ = true;
  drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
}

void PanelSurface::create(const QWidget* window) {
  if (window != nullptr) create(0, 0, window->width(), window->height());
}

void PanelSurface::growFor(int x, int y, int right, int bottom) {
  if (right > right_ || bottom > bottom_) create(x, y, right, bottom);
  right_ = std::max(right_, right);
  bottom_ = std::max(bottom_, bottom);
}

void PanelSurface::copyIn(const QImage& source, int x, int y, int right, int bottom) {
  growFor(x, y, right, bottom);
  if (image_.isNull() || source.isNull()) return;
  QPainter p(&image_);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  const qreal dpr = source.devicePixelRatio();
  p.drawImage(QRect(x, y, right - x, bottom - y), source,
              QRectF(0, 0, (right - x) * dpr, (bottom - y) * dpr));
}

void PanelSurface::stretchIn(const QImage& source, const QRect& destination,
                            const QRectF& sourceRect) {
  growFor(destination.left(), destination.top(), destination.left() + destination.width(),
          destination.top() + destination.height());
  if (image_.isNull() || source.isNull()) return;
  QPainter p(&image_);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  drawSprite(p, destination, source, sourceRect);
}

void PanelSurface::drawRect(const QRect& rect) {
  if (image_.isNull()) return;
  QPainter p(&image_);
  p.fillRect(rect, brush_);
  p.setPen(QPen(pen_, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect.adjusted(0, 0, -1, -1));
}

void PanelSurface::release() {
  image_ = QImage();
  selected_ = false;
}

QPoint PanelSurface::originOf(const QWidget* control) const {
  if (owner_ && owner_ != control && owner_->isAncestorOf(control)) {
    return control->mapTo(owner_.data(), QPoint(0, 0));
  }
  return control->pos();
}

QImage PanelSurface::backgroundFor(const QWidget* control) const {
  QImage out(control->size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(noBackgroundColour());
  if (image_.isNull()) return out;
  QPainter p(&out);
  const QPoint at = originOf(control);
  const qreal dpr = image_.devicePixelRatio();
  p.drawImage(QRectF(QPointF(0, 0), QSizeF(control->size())), image_,
              QRectF(at.x() * dpr, at.y() * dpr, control->width() * dpr, control->height() * dpr));
  return out;
}

QImage captureBackground(const PanelSurface* source, const QWidget* control) {
  if (source != nullptr) return source->backgroundFor(control);
  QImage out(control->size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(noBackgroundColour());
  return out;
}

void paintSurfaceUnder(QPainter& painter, const PanelSurface* surface, const QWidget* widget,
                       const QRegion& region) {
  if (surface == nullptr || surface->image().isNull()) {
    for (const QRect& r : region) painter.fillRect(r, noBackgroundColour());
    return;
  }
  const QImage& image = surface->image();
  const qreal dpr = image.devicePixelRatio();
  const QPoint at = surface->originOf(widget);
  for (const QRect& r : region) {
    const QRect source = r.translated(at);
    painter.drawImage(QRectF(r), image,
                      QRectF(source.x() * dpr, source.y() * dpr, source.width() * dpr, source.height() * dpr));
  }
}

}  // namespace zr78
