#include "controls/fader.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "controls/panel_surface.h"
#include "controls/png_resource.h"
#include "controls/window_message.h"

namespace zr78 {

Fader::Fader(int controlId, QWidget* parent) : SkinnedWidget(parent), controlId_(controlId) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
}

void Fader::configure(const PanelSurface* background, int skinIndex, int pngResourceId) {
  configure(background, skinIndex, loadPngResource(pngResourceId));
}

void Fader::configure(const PanelSurface* background, int skinIndex, const QImage& skin) {
  skin_ = skin;
  skinIndex_ = std::clamp(skinIndex, 0, FADER_SKIN_COUNT - 1);
  canvas_.setSource(background);
  updateGeometryCache();
  update();
}

void Fader::updateGeometryCache() {
  geometry_ = FaderGeometry::compute(faderSkin(skinIndex_), size(), vertical());
}

void Fader::setValue(double v) {
  position_ = static_cast<int>(std::trunc(scale_ * v));
  redraw();
}

void Fader::setClamped(int position) {
  position_ = std::clamp(position, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
}

void Fader::notify() {
  setClamped(position_);
  sendMessage(parentWidget(), controlId_, index_, position_);
}

void Fader::stepUp() {
  position_ = position_ < threshold_ ? static_cast<int>(std::trunc(position_ + step_))
                                     : static_cast<int>(std::trunc(position_ + 10 * step_));
  notify();
  redraw();
}

void Fader::stepDown() {
  position_ = position_ > threshold_ ? static_cast<int>(std::trunc(position_ - 10 * step_))
                                     : static_cast<int>(std::trunc(position_ - step_));
  notify();
  redraw();
}

void Fader::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !acceptsMouse()) return;
  setFocus(Qt::MouseFocusReason);
  if (geometry_.knobRect(position_, minimum_, maximum_).contains(e->position())) {
    dragging_ = true;
    setCursor(Qt::PointingHandCursor);
    notify();
  }
  focusMark_ = true;
  redraw();
}

void Fader::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void Fader::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_ || !acceptsMouse()) return;
  position_ = geometry_.positionAt(along(e->position()), minimum_, maximum_);
  redraw();
  notify();
}

void Fader::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  unsetCursor();
  notify();
  redraw();
}

void Fader::wheelEvent(QWheelEvent* e) {
  const int dy = e->angleDelta().y();
  if (dy > 0) stepUp();
  else if (dy < 0) stepDown();
  e->accept();
}

void Fader::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Up) stepUp();
  else if (e->key() == Qt::Key_Down) stepDown();
  else e->ignore();
}

void Fader::focusOutEvent(QFocusEvent*) {
  focusMark_ = false;
  redraw();
}

void Fader::resizeEvent(QResizeEvent* e) {
  updateGeometryCache();
  SkinnedWidget::resizeEvent(e);
}

void Fader::compose() {
  QImage face = canvas_.startFace(this);
  const FaderSkin& skin = faderSkin(skinIndex_);
  const int shown = std::clamp(position_, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
  const double c = geometry_.knobCentre(shown, minimum_, maximum_);
  QPainter p(&face);
  prepareSmoothPainter(p);
  // Two pieces of the track split at the knob; the one towards the minimum
  // comes from the lit copy.
  const double scaleAlong = vertical() ? geometry_.fy : geometry_.fx;
  const double split = scaleAlong > 0 ? c / scaleAlong : 0;
  const bool litBefore = geometry_.start < geometry_.end;  // minimum at the low coordinate
  const double length = vertical() ? skin.height : skin.width;
  auto piece = [&](double from, double to, double sourceX) {
    if (to <= from) return;
    const QRectF src = vertical() ? QRectF(sourceX, from, skin.width, to - from)
                                  : QRectF(sourceX + from, 0, to - from, skin.height);
    const QRectF dst = vertical() ? QRectF(0, from * geometry_.fy, width(), (to - from) * geometry_.fy)
                                  : QRectF(from * geometry_.fx, 0, (to - from) * geometry_.fx, height());
    drawSprite(p, dst, skin_, src);
  };
  const double s = std::clamp(split, 0.0, length);
  piece(0, s, litBefore ? skin.width : 0);
  piece(s, length, litBefore ? 0 : skin.width);
  const QRectF knob = geometry_.knobRect(shown, minimum_, maximum_);
  const double knobX = 2 * skin.width + (focusMark_ ? skin.knobWidth : 0);
  drawSprite(p, knob, skin_, QRectF(knobX, 0, skin.knobWidth, skin.knobHeight));
  p.end();
  canvas_.setFace(std::move(face));
}

}  // namespace zr78
