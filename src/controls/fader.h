// Fader: the skinned fader of the EQ bands, channel gains and routing
// levels. It holds an integer position in [minimum, maximum] (the owner
// divides by its scale for a value), is dragged by its knob or stepped by
// wheel and Up/Down keys, and sends (control id, index, clamped position) to
// the parent on knob press, every drag move, release, wheel step and key.
//
// Skin artwork, side by side, top-aligned: the track, the lit copy of the
// track (drawn from the minimum end to the knob), the knob, the focused knob.
#pragma once

#include <QImage>
#include <QWidget>

#include "controls/skinned_widget.h"
#include "controls/fader_geometry.h"

namespace zr78 {

class PanelSurface;

enum class FaderOrientation { kHorizontal, kVertical };

class Fader : public SkinnedWidget<QWidget> {
  Q_OBJECT

 public:
  Fader(int controlId, QWidget* parent);

  int controlId() const { return controlId_; }

  // Loads the skin artwork and takes the skin's geometry.
  void configure(const PanelSurface* background, int skinIndex, int pngResourceId);
  void configure(const PanelSurface* background, int skinIndex, const QImage& skin);

  // position = trunc(scale × v); the parent is not told.
  void setValue(double v);
  int position() const { return position_; }
  double value() const { return scale_ != 0 ? static_cast<double>(position_) / scale_ : position_; }
  void setRange(int minimum, int maximum) { minimum_ = minimum; maximum_ = maximum; redraw(); }
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  void setScale(int s) { scale_ = s; }
  void setStep(double step) { step_ = step; }
  void setCoarseThreshold(int t) { threshold_ = t; }
  void setIndex(int i) { index_ = i; }
  int index() const { return index_; }
  void setOrientation(FaderOrientation o) { orientation_ = o; updateGeometryCache(); redraw(); }
  bool vertical() const { return orientation_ == FaderOrientation::kVertical; }
  // The mouse is ignored unless both are set.
  void setInputEnabled(bool first, bool second) { input_[0] = first; input_[1] = second; }
  // The owner highlights the band it works on with the same mark as the focus.
  void setFocusMark(bool on) { focusMark_ = on; redraw(); }
  bool focusMark() const { return focusMark_; }
  bool dragging() const { return dragging_; }
  const FaderGeometry& geometryCache() const { return geometry_; }

 protected:
  void compose() override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent*) override;

 private:
  bool acceptsMouse() const { return input_[0] && input_[1]; }
  double along(const QPointF& p) const { return vertical() ? p.y() : p.x(); }
  void setClamped(int position);
  void notify();
  void stepUp();
  void stepDown();
  void updateGeometryCache();

  const int controlId_;
  int position_ = 50;
  int minimum_ = 0;
  int maximum_ = 100;
  int scale_ = 10;
  double step_ = 1.0;
  int threshold_ = 30000;
  int index_ = 0;
  FaderOrientation orientation_ = FaderOrientation::kVertical;
  int skinIndex_ = 0;
  bool input_[2] = {true, true};
  bool dragging_ = false;
  bool focusMark_ = false;
  QImage skin_;
  FaderGeometry geometry_;
};

}  // namespace zr78
