// The part every custom control shares: its off-screen picture, composed on
// demand by the control's compose(), painted from the cache, and copied onto
// a panel's surface by drawOnto. A move or resize makes the control capture
// its background again. Base is QWidget or a standard control (QComboBox).
#pragma once

#include <QImage>
#include <QMoveEvent>
#include <QResizeEvent>

#include "controls/control_canvas.h"

namespace zr78 {

class PanelSurface;

template <class Base>
class SkinnedWidget : public Base {
 public:
  using Base::Base;

  // The control's picture, composed now when stale.
  const QImage& composedImage() {
    if (!canvas_.faceValid()) compose();
    return canvas_.face();
  }
  // Copies the picture onto a panel surface at the control's place there.
  void drawOnto(PanelSurface& surface) {
    composedImage();
    canvas_.drawOnto(this, surface);
  }

 protected:
  // Builds the picture over canvas_.startFace(this) and hands it to canvas_.setFace.
  virtual void compose() = 0;

  void paintEvent(QPaintEvent*) override {
    composedImage();
    canvas_.paint(this);
  }
  void moveEvent(QMoveEvent* e) override {
    Base::moveEvent(e);
    canvas_.invalidateAll();
    this->update();
  }
  void resizeEvent(QResizeEvent* e) override {
    Base::resizeEvent(e);
    canvas_.invalidateAll();
    this->update();
  }
  void redraw() {
    canvas_.invalidateFace();
    this->update();
  }

  ControlCanvas canvas_;
};

}  // namespace zr78
