#include "controls/image_button.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/font_map.h"
#include "controls/png_resource.h"
#include "controls/window_message.h"

namespace zr78 {

ImageButton::ImageButton(int controlId, QWidget* parent)
    : SkinnedWidget(parent), controlId_(controlId) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageButton::setImage(const PanelSurface* backgroundSource, int pngResourceId) {
  setImage(backgroundSource, loadPngResource(pngResourceId));
}

void ImageButton::setImage(const PanelSurface* backgroundSource, const QImage& strip) {
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

void ImageButton::setFontStyle(double pixelSize, const QString& family,
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

void ImageButton::setText(const QString& text) {
  text_ = text;
  invalidateFace();
}

void ImageButton::setState(ButtonState state) {
  state_ = state;
  frame_ = state == ButtonState::kPressed ? 1 : 0;
  pressedInside_ = false;
  invalidateFace();
}

QSizeF ImageButton::frameSize() const {
  if (image_.isNull() || frameCount_ <= 0) return QSizeF(size());
  const QSizeF strip = image_.deviceIndependentSize();
  return QSizeF(strip.width() / frameCount_, strip.height());
}

QRectF ImageButton::hotArea() const {
  const QSizeF frame = frameSize();
  const double sx = frame.width() > 0 ? width() / frame.width() : 1.0;
  const double sy = frame.height() > 0 ? height() / frame.height() : 1.0;
  const QRectF scaled(hotRect_.x() * sx, hotRect_.y() * sy, hotRect_.width() * sx,
                      hotRect_.height() * sy);
  return scaled.intersected(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void ImageButton::setHover(bool on) {
  if (hover_ == on) return;
  hover_ = on;
  if (on) setCursor(Qt::PointingHandCursor);
  else unsetCursor();
  invalidateFace();
}

void ImageButton::trackPointer(const QPointF& pos) {
  if (!acceptsMouse() || pressedInside_) return;
  setHover(hotArea().contains(pos));
}

void ImageButton::mouseMoveEvent(QMouseEvent* e) { trackPointer(e->position()); }

void ImageButton::leaveEvent(QEvent*) {
  if (acceptsMouse() && !pressedInside_) setHover(false);
}

void ImageButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !acceptsMouse() || !clickable_) return;
  if (hotArea().contains(e->position())) {
    pressedInside_ = true;
    setCursor(Qt::PointingHandCursor);
  }
  invalidateFace();
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void ImageButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !acceptsMouse() || !clickable_) return;
  // The click counts when it began inside, wherever it ends.
  if (pressedInside_) {
    if (state_ == ButtonState::kReleased) state_ = ButtonState::kPressed;
    else if (state_ == ButtonState::kPressed) state_ = ButtonState::kReleased;
    hover_ = false;
    postMessage(parentWidget(), controlId_, index_, index_);
  }
  trackPointer(e->position());
  if (state_ == ButtonState::kReleased) frame_ = 0;
  else if (state_ == ButtonState::kPressed) frame_ = 1;
  pressedInside_ = false;
  invalidateFace();
}

void ImageButton::focusOutEvent(QFocusEvent*) {
  hover_ = false;
  invalidateFace();
}

void ImageButton::changeEvent(QEvent* e) {
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

void ImageButton::showEvent(QShowEvent*) { shown_ = true; invalidateFace(); }
void ImageButton::hideEvent(QHideEvent*) { shown_ = false; invalidateFace(); }

void ImageButton::compose() {
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
                      state_ == ButtonState::kPressed ? pressedColour_ : releasedColour_, alignFlags_);
  }
  canvas_.setFace(std::move(face));
}

}  // namespace zr78
