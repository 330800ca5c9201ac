// Dragging a borderless window by its body. The platform's own move is used
// where it exists (X11, Wayland, Windows); elsewhere (the offscreen platform
// of the tests and screenshots) the window follows the pointer until the
// button is released.
#pragma once

#include <QPoint>
#include <QPointF>

class QWidget;

namespace zr78 {

class WindowDrag {
 public:
  // Starts a drag of `window` from the pointer at `globalPos`.
  void begin(QWidget* window, const QPointF& globalPos);
  // Pointer moves while the left button is held.
  void follow(QWidget* window, const QPointF& globalPos);
  void end() { following_ = false; }
  bool following() const { return following_; }
  // Drags started since construction (the platform's or our own).
  int started() const { return started_; }

 private:
  QPoint offset_;
  bool following_ = false;
  int started_ = 0;
};

}  // namespace zr78
