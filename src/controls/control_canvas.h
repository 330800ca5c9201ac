// The off-screen picture every custom control keeps: the background captured
// from its panel's surface (once per size or position) and the composed face
// built over it (once per change of look). Painting and the panels'
// drawOnto only copy the face.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;
class QWidget;

namespace zr78 {

class PanelSurface;

class ControlCanvas {
 public:
  // The panel's surface; it outlives the control (panels own their children).
  void setSource(const PanelSurface* source) { source_ = source; invalidateAll(); }
  const PanelSurface* source() const { return source_; }

  void invalidateAll() { backgroundValid_ = false; faceValid_ = false; }
  void invalidateFace() { faceValid_ = false; }
  bool backgroundValid() const { return backgroundValid_; }
  bool faceValid() const { return faceValid_; }

  // The background under the widget, captured now when not yet valid.
  const QImage& background(const QWidget* widget);
  // A painter-ready copy of the background; the caller draws over it and
  // hands it back with setFace.
  QImage startFace(const QWidget* widget);
  void setFace(QImage face) { face_ = std::move(face); faceValid_ = true; }
  const QImage& face() const { return face_; }

  // Copies the face into the widget's paint event, or onto a panel surface
  // at the widget's place there.
  void paint(QWidget* widget) const;
  void drawOnto(const QWidget* widget, PanelSurface& surface) const;

 private:
  const PanelSurface* source_ = nullptr;
  QImage background_;
  QImage face_;
  bool backgroundValid_ = false;
  bool faceValid_ = false;
};

// Text placement bits shared by the controls: 1 centre horizontally, 2 align
// right, 4 centre vertically, 8 align bottom, 32 single line. Text is never
// clipped to its rectangle.
inline constexpr int TEXT_HCENTRE = 1;
inline constexpr int TEXT_RIGHT = 2;
inline constexpr int TEXT_VCENTRE = 4;
inline constexpr int TEXT_BOTTOM = 8;
inline constexpr int TEXT_SINGLE_LINE = 32;

int qtTextFlags(int formatBits);
void drawFormattedText(QPainter& painter, const QRectF& rect, const QString& text,
                       const QFont& font, const QColor& colour, int formatBits);

// Painter set up for smooth, anti-aliased drawing of artwork and text.
void prepareSmoothPainter(QPainter& painter);

}  // namespace zr78
