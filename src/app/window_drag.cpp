#include "app/window_drag.h"

#include <QWidget>
#include <QWindow>

namespace zr78 {

void WindowDrag::begin(QWidget* window, const QPointF& globalPos) {
  ++started_;
  QWindow* handle = window->windowHandle();
  if (handle != nullptr && handle->startSystemMove()) return;
  following_ = true;
  offset_ = globalPos.toPoint() - window->pos();
}

void WindowDrag::follow(QWidget* window, const QPointF& globalPos) {
  if (following_) window->move(globalPos.toPoint() - offset_);
}

}  // namespace zr78
