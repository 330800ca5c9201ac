#include "controls/gdi_button.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/font_map.h"
#include "controls/png_resource.h"
#include "controls/window_message.h"

namespace zr78 {

CGDI_Button::CGDI_Button(int controlId, QWidget* parent)
    : SkinnedWidget(parent), controlId_(controlId) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGDI_Button::setImage(const CMemDcClass* backgroundSource, int pngResourceId) {
  setImage(backgroundSource, loadPngResource(pngResourceId));
}

void CGDI_Button::setImage(const CMemDcClass* backgroundSource, const QImage& strip) {
  hotRect_ = rect();
  image_ = strip;
  const int declared = declaredFrameCount(image_);
  const int stripWidth = qRound(image_.deviceIndependentSize().width());
  if (declared > 0) frameCount_ = declared;
  else if (width() > 0 && !image_.isNull()) frameCount_ = std::max(1, stripWidth / width());
  canvas_.setSource(backgroundSource);
  imageSet_ = true;
  invalidateFace();
}

void CGDI_Button::setFontStyle(double pixelSize, const QString& family,
                               const QColor& releasedColour, const QColor& pressedColour,
                               int alignFlags) {
  fontSize_ = pixelSize;
  fontFamily_ = family;
  releasedColour_ = releasedColour;
  pressedColour_ = pressedColour;
  alignFlags_ = alignFlags;
  canvas_.invalidateAll();
  update();
}

void CGDI_Button::setText(const QString& text) {
  text_ = text;
  invalidateFace();
}

void CGDI_Button::setState(quint8 state) {
  state_ = state;
  frame_ = state == PRESSED ? 1 : 0;
  pressedInside_ = false;
  invalidateFace();
}

QSizeF CGDI_Button::frameSize() const {
  if (image_.isNull() || frameCount_ <= 0) return QSizeF(size());
  const QSizeF strip = image_.deviceIndependentSize();
  return QSizeF(strip.width() / frameCount_, strip.height());
}

QRectF CGDI_Button::hotArea() const {
  const QSizeF frame = frameSize();
  const double sx = frame.width() > 0 ? width() / frame.width() : 1.0;
  const double sy = frame.height() > 0 ? height() / frame.height() : 1.0;
  const QRectF scaled(hotRect_.x() * sx, hotRect_.y() * sy, hotRect_.width() * sx,
                      hotRect_.height() * sy);
  return scaled.intersected(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void CGDI_Button::setHover(bool on) {
  if (hover_ == on) return;
  hover_ = on;
  if (on) setCursor(Qt::PointingHandCursor);
  else unsetCursor();
  invalidateFace();
}

void CGDI_Button::trackPointer(const QPointF& pos) {
  if (!acceptsMouse() || pressedInside_) return;
  setHover(hotArea().contains(pos));
}

void CGDI_Button::mouseMoveEvent(QMouseEvent* e) { trackPointer(e->position()); }

void CGDI_Button::leaveEvent(QEvent*) {
  if (acceptsMouse() && !pressedInside_) setHover(false);
}

void CGDI_Button::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !acceptsMouse() || !clickable_) return;
  if (hotArea().contains(e->position())) {
    pressedInside_ = true;
    setCursor(Qt::PointingHandCursor);
  }
  invalidateFace();
}

void CGDI_Button::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void CGDI_Button::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !acceptsMouse() || !clickable_) return;
  // The click counts when it began inside, wherever it ends.
  if (pressedInside_) {
    if (state_ == RELEASED) state_ = PRESSED;
    else if (state_ == PRESSED) state_ = RELEASED;
    hover_ = false;
    postMessage(parentWidget(), controlId_, index_, index_);
  }
  trackPointer(e->position());
  if (state_ == RELEASED) frame_ = 0;
  else if (state_ == PRESSED) frame_ = 1;
  pressedInside_ = false;
  invalidateFace();
}

void CGDI_Button::focusOutEvent(QFocusEvent*) {
  hover_ = false;
  invalidateFace();
}

void CGDI_Button::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) {
    enabled_ = isEnabled();
    if (imageSet_) {
      hover_ = false;
      pressedInside_ = false;
    }
    invalidateFace();
  }
  SkinnedWidget::changeEvent(e);
}

void CGDI_Button::showEvent(QShowEvent*) { shown_ = true; invalidateFace(); }
void CGDI_Button::hideEvent(QHideEvent*) { shown_ = false; invalidateFace(); }

void CGDI_Button::compose() {
  QImage face = canvas_.startFace(this);
  if (shown_) {
    QPainter p(&face);
    prepareSmoothPainter(p);
    const QSizeF frame = frameSize();
    auto drawFrame = [&](int f) {
      drawSprite(p, QRectF(rect()), image_,
                 QRectF(f * frame.width(), 0, frame.width(), frame.height()));
    };
    if (!image_.isNull()) {
      drawFrame(frame_);
      // Only a frame the strip has: a hover frame past its end would read outside it.
      if (hover_ && enabled_ && hoverFrame_ < frameCount_) drawFrame(hoverFrame_);
    }
    drawFormattedText(p, QRectF(rect()), text_, makeFont(fontFamily_, fontSize_),
                      state_ == PRESSED ? pressedColour_ : releasedColour_, alignFlags_);
  }
  canvas_.setFace(std::move(face));
}

}  // namespace zr78
