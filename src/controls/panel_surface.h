// PanelSurface: the off-screen surface behind a custom-drawn panel. The panel
// paints its whole picture into it, and every control copies its own
// background from it at the control's position, so the controls look
// transparent over the panel's artwork. Surface pixels use the owner
// widget's coordinates (the panel's, or its parent's when no owner is set).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QRect>
#include <QWidget>

namespace zr78 {

class PanelSurface {
 public:
  // Empty: no image, covered rectangle all zero, not selected.
  PanelSurface() = default;
  // A surface of the rectangle's size, light grey with a border.
  PanelSurface(QWidget* window, const QRect& rect);
  // A surface holding the bitmap resource; it covers the bitmap's logical size.
  explicit PanelSurface(int bitmapResourceId);

  // Replaces the surface by a new (right − left) × (bottom − top) one, filled
  // light grey (240) and framed with the current pen. An empty or negative
  // size leaves everything unchanged.
  void create(int left, int top, int right, int bottom);
  void create(const QWidget* window);

  // Copies source, from its origin, to (x, y) with size (right − x) × (bottom − y).
  // When right or bottom lie beyond the covered rectangle the surface is
  // recreated first (its content is lost); a smaller copy keeps the content.
  void copyIn(const QImage& source, int x, int y, int right, int bottom);
  // The same growth rule, then a smooth stretching copy; the source rectangle
  // is in the source's logical pixels.
  void stretchIn(const QImage& source, const QRect& destination, const QRectF& sourceRect);
  // Draws the rectangle with the current pen and brush.
  void drawRect(const QRect& rect);

  void release();

  bool selected() const { return selected_; }
  QRect coveredRect() const { return QRect(QPoint(left_, top_), QPoint(right_ - 1, bottom_ - 1)); }
  int left() const { return left_; }
  int top() const { return top_; }
  int right() const { return right_; }
  int bottom() const { return bottom_; }
  QImage& image() { return image_; }
  const QImage& image() const { return image_; }

  void setPen(const QColor& c) { pen_ = c; }
  void setBrush(const QColor& c) { brush_ = c; }

  // The widget whose coordinates the surface uses (normally the panel).
  void setOwner(QWidget* owner) { owner_ = owner; }
  // Where a control sits on this surface.
  QPoint originOf(const QWidget* control) const;
  // The picture under the control at its current place and size; parts not
  // covered by the surface are light grey.
  QImage backgroundFor(const QWidget* control) const;

 private:
  void growFor(int x, int y, int right, int bottom);

  QImage image_;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  bool selected_ = false;
  QColor pen_ = Qt::black;
  QColor brush_ = QColor(240, 240, 240);
  QPointer<QWidget> owner_;
};

// Light grey used wherever a control has no background source.
inline QColor noBackgroundColour() { return QColor(240, 240, 240); }

// The background under a control from an optional surface (grey without one).
QImage captureBackground(const PanelSurface* source, const QWidget* control);

// Paints the part of an optional surface under `widget` into each rectangle of
// `region` (widget coordinates); grey without a surface or image. A panel
// paints its background this way and its controls their cached faces over it,
// so nothing is erased twice.
void paintSurfaceUnder(QPainter& painter, const PanelSurface* surface, const QWidget* widget,
                       const QRegion& region);

}  // namespace zr78
