#include "controls/level_slider.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "controls/font_map.h"
#include "controls/png_resource.h"
#include "controls/window_message.h"
#include "text/number_text.h"

namespace zr78 {

namespace ss = slider_sprite;

SliderGeometry SliderGeometry::layout(QSize client, bool toggleMode, bool tallFrame) {
  const double w = client.width();
  const double h = client.height();
  // The normal frame maps sprite rows 14..33 onto the client; the tall one all 33.
  const double top = tallFrame ? 0 : ss::BODY_TOP;
  const double rows = ss::FRAME_H - top;
  SliderGeometry g;
  g.trackStart = w * 10 / ss::FRAME_W;
  g.trackEnd = w * (toggleMode ? 144 : 159) / ss::FRAME_W;
  g.trackY = h * ((24 + 25) / 2.0 - top) / rows;
  g.thumbWidth = w * 18 / ss::FRAME_W;
  g.thumbHeight = h * 16 / rows;
  g.glowHeight = h * 4 / rows;
  const QRectF t = ss::TOGGLE_AREA;
  g.toggleRect = QRectF(w * t.x() / ss::FRAME_W, h * (t.y() - top) / rows,
                        w * t.width() / ss::FRAME_W, h * t.height() / rows);
  return g;
}

// The linear map of [minimum, maximum] onto [trackStart, trackEnd] (minimum ≤ 0).
double SliderGeometry::xOf(double v, double minimum, double maximum) const {
  const double range = maximum - minimum;
  if (range == 0) return trackStart;
  return trackStart + (trackEnd - trackStart) * (v + std::abs(minimum)) / range;
}

double SliderGeometry::valueAt(double x, double minimum, double maximum) const {
  const double span = trackEnd - trackStart;
  if (span == 0) return minimum;
  return (maximum - minimum) * (x - trackStart) / span - std::abs(minimum);
}

QRectF SliderGeometry::thumbRect(double v, double minimum, double maximum) const {
  return QRectF(xOf(v, minimum, maximum) - thumbWidth / 2, trackY - thumbHeight / 2, thumbWidth,
                thumbHeight);
}

double SliderSteps::quantise(double v) const {
  // Whole numbers as "%.0f" prints them (ties to even); fine steps below.
  const double q = v >= fineBelow ? std::nearbyint(v) : std::trunc((v + 0.05) / 0.1) * fineStep;
  return std::clamp(q, std::min(minimum, maximum), std::max(minimum, maximum));
}

double SliderSteps::up(double v) const { return quantise(v >= fineBelow ? v + 1 : v + 0.1); }
double SliderSteps::down(double v) const { return quantise(v > fineBelow ? v - 1 : v - 0.1); }

LevelSlider::LevelSlider(int controlId, QWidget* parent) : SkinnedWidget(parent), controlId_(controlId) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
}

void LevelSlider::setBackground(const PanelSurface* surface) {
  setBackground(surface, loadPngResource(png::SLIDER_SHEET));
}

void LevelSlider::setBackground(const PanelSurface* surface, const QImage& sprite) {
  sprite_ = sprite;
  canvas_.setSource(surface);
  toggleOn_ = toggleMode_ ? toggleValue_ : 0;
  relayout();
}

void LevelSlider::setRange(double minimum, double maximum) {
  steps_.minimum = minimum;
  steps_.maximum = maximum;
  redraw();
}

void LevelSlider::setToggleMode(bool on, int toggleValue) {
  toggleMode_ = on;
  toggleValue_ = toggleValue;
  relayout();
}

void LevelSlider::setSliderValue(double v) {
  if (toggleMode_) {
    toggleOn_ = v >= toggleValue_ ? toggleValue_ : 0;
    if (toggleOn_ != 0) v -= toggleValue_;
  }
  value_ = v;
  setFocus(Qt::OtherFocusReason);
  active_ = true;
  canvas_.invalidateFace();
  repaint();
}

void LevelSlider::notify() {
  sendMessage(parentWidget(), controlId_, index_, static_cast<qintptr>(std::trunc(value_)));
}

void LevelSlider::stepAndNotify(bool up) {
  value_ = up ? steps_.up(value_) : steps_.down(value_);
  notify();
  redraw();
}

void LevelSlider::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !shown_ || !enabled_) return;
  setFocus(Qt::MouseFocusReason);
  const QPointF at = e->position();
  const QRectF thumb = geometry_.thumbRect(value_, steps_.minimum, steps_.maximum);
  // Without the switch the track runs on to the right edge.
  const double rightLimit = toggleMode_ ? geometry_.toggleRect.left() : width();
  if (thumb.contains(at)) {
    dragging_ = true;
    setCursor(Qt::PointingHandCursor);
    notify();
  } else if (toggleMode_ && geometry_.toggleRect.contains(at)) {
    toggleOn_ = toggleOn_ == toggleValue_ ? 0 : toggleValue_;
    notify();
  } else if (at.y() >= thumb.top() && at.y() <= thumb.bottom()) {
    if (at.x() > thumb.right() && at.x() < rightLimit) value_ = steps_.up(value_);
    else if (at.x() < thumb.left()) value_ = steps_.down(value_);
    notify();
  }
  active_ = true;
  redraw();
}

void LevelSlider::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void LevelSlider::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  value_ = steps_.quantise(geometry_.valueAt(e->position().x(), steps_.minimum, steps_.maximum));
  canvas_.invalidateFace();
  repaint();
  notify();
}

void LevelSlider::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  if (dragging_) {
    unsetCursor();
    notify();
    redraw();
  }
  dragging_ = false;
}

void LevelSlider::wheelEvent(QWheelEvent* e) {
  const int dy = e->angleDelta().y();
  if (dy != 0) stepAndNotify(dy > 0);
  e->accept();
}

void LevelSlider::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Left: stepAndNotify(false); repaint(); break;
    case Qt::Key_Right: stepAndNotify(true); repaint(); break;
    case Qt::Key_Up:
    case Qt::Key_Down: break;  // swallowed: the slider is horizontal
    default: e->ignore(); break;
  }
}

void LevelSlider::focusOutEvent(QFocusEvent*) {
  active_ = false;
  redraw();
}

void LevelSlider::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) {
    enabled_ = isEnabled();
    redraw();
  }
  SkinnedWidget::changeEvent(e);
}

void LevelSlider::showEvent(QShowEvent*) { shown_ = true; redraw(); }
void LevelSlider::hideEvent(QHideEvent*) { shown_ = false; }

void LevelSlider::relayout() {
  geometry_ = SliderGeometry::layout(size(), toggleMode_, tallFrame_);
  canvas_.invalidateAll();
  update();
}

void LevelSlider::resizeEvent(QResizeEvent* e) {
  SkinnedWidget::resizeEvent(e);
  relayout();
}

void LevelSlider::compose() {
  QImage face = canvas_.startFace(this);
  QPainter p(&face);
  prepareSmoothPainter(p);
  const double sx = width() / ss::FRAME_W;
  const double top = tallFrame_ ? 0 : ss::BODY_TOP;
  const double sy = height() / (ss::FRAME_H - top);
  auto frameRect = [&](double x, double y, double w, double h) {
    return QRectF(x * sx, (y - top) * sy, w * sx, h * sy);
  };
  // Body: left part and the right end (with the switch socket in toggle mode).
  const QRectF left(0, top, ss::BODY_LEFT.width(), ss::FRAME_H - top);
  drawSprite(p, frameRect(0, top, left.width(), left.height()), sprite_, left);
  const double rightX = toggleMode_ ? ss::RIGHT_SOCKET_X : ss::RIGHT_PLAIN_X;
  drawSprite(p, frameRect(ss::RIGHT_PLAIN_X, top, ss::RIGHT_END_W, left.height()), sprite_,
             QRectF(rightX, top, ss::RIGHT_END_W, left.height()));
  if (toggleMode_) {
    drawSprite(p, geometry_.toggleRect, sprite_, toggleOn_ >= 1 ? ss::TOGGLE_ON : ss::TOGGLE_OFF);
  }
  if (glowBar_) {
    const double range = steps_.maximum - steps_.minimum;
    const double f = range != 0 ? std::clamp((value_ - steps_.minimum) / range, 0.0, 1.0) : 0.0;
    const int alpha = static_cast<int>(230 * f);
    QLinearGradient glow(geometry_.trackStart, 0, geometry_.trackEnd, 0);
    glow.setColorAt(0, QColor(0, 255, 0, 0));
    glow.setColorAt(0.25, QColor(0, 255, 0, alpha));
    glow.setColorAt(0.5, QColor(255, 255, 0, alpha));
    glow.setColorAt(0.75, QColor(255, 0, 0, alpha));
    glow.setColorAt(1, QColor(255, 0, 0, 0));
    p.fillRect(QRectF(geometry_.trackStart, geometry_.trackY - geometry_.glowHeight / 2,
                      geometry_.trackEnd - geometry_.trackStart, geometry_.glowHeight),
               glow);
  }
  // The thumb spans the body rows: the whole client in the normal frame; in
  // the tall frame it stays below the caption instead of covering it.
  const double thumbLeft = geometry_.xOf(value_, steps_.minimum, steps_.maximum) - geometry_.thumbWidth / 2;
  const double bodyTop = (ss::BODY_TOP - top) * sy;
  drawSprite(p, QRectF(thumbLeft, bodyTop, geometry_.thumbWidth, height() - bodyTop), sprite_,
             active_ ? ss::THUMB_ACTIVE : ss::THUMB_IDLE);
  drawCaption(p);
  p.end();
  canvas_.setFace(std::move(face));
}

void LevelSlider::drawCaption(QPainter& p) {
  if (!captionFormat_.isEmpty()) {
    caption_ = QString::fromStdString(formatNumber(captionFormat_.toStdString(), value_));
  }
  if (caption_.isEmpty()) return;
  const int h = height();
  const QFont font = makeFont(QString::fromUtf8("微软雅黑"), h - (20 * h) / 33 - 1);
  const QRectF band(1, 0, width() - 2, geometry_.trackY - geometry_.glowHeight / 2);
  const int flags = TEXT_VCENTRE | TEXT_SINGLE_LINE;
  const int colon = caption_.indexOf(QLatin1Char(':'));
  if (colon < 0) {
    drawFormattedText(p, band, caption_, font, textColour_, flags);
    return;
  }
  drawFormattedText(p, band, caption_.left(colon + 1), font, textColour_, flags);
  drawFormattedText(p, band, caption_.mid(colon + 1), font, textColour_, flags | TEXT_RIGHT);
}

}  // namespace zr78
