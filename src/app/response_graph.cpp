#include "app/response_graph.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "controls/panel_surface.h"
#include "controls/window_message.h"

namespace zr78 {

namespace {

// The deferred refresh after the panel's setters: many values arrive at
// once (a channel reload), the curves are recomputed once for all of them.
const QEvent::Type kRefreshEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

ResponseGraph::ResponseGraph(int controlId, QWidget* parent) : QWidget(parent), controlId_(controlId) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);
}

void ResponseGraph::setBackgroundSource(const PanelSurface* source) {
  source_ = source;
  backdropStale_ = true;
  update();
}

void ResponseGraph::configureAsEqPanel(double scale) {
  configureAsEqPanelGraph(model_, scale);
  model_.resize(width(), height());
  prepareLayers();
  changed();
}

void ResponseGraph::setScale(double scale) {
  if (scale == model_.scale()) return;
  model_.setScale(scale);
  model_.resize(width(), height());
  prepareLayers();
  changed();
}

void ResponseGraph::setGeqMode(bool on) {
  model_.setGeqMode(on);
  changed();
}

void ResponseGraph::setPeqMode(bool on) {
  model_.setPeqMode(on);
  changed();
}

void ResponseGraph::setBandFrequency(double hz, int band, int channel, bool show) {
  model_.setBandFrequency(hz, band, channel, show);
  changed();
}

void ResponseGraph::setBandGain(double db, int band, int channel, bool show) {
  model_.setBandGain(db, band, channel, show);
  changed();
}

void ResponseGraph::setBandQ(double q, int band, int channel, bool show) {
  model_.setBandQ(q, band, channel, show);
  changed();
}

void ResponseGraph::setCrossoverFrequency(double hz, int channel, Crossover which, bool show) {
  model_.setCrossoverFrequency(hz, channel, which, show);
  changed();
}

void ResponseGraph::setCrossoverCode(int code, int channel) {
  model_.setCrossoverCode(code, channel);
  changed();
}

void ResponseGraph::selectChannel(int channel) {
  model_.selectChannel(channel);
  changed();
}

void ResponseGraph::setChannelVisible(int channel, bool visible) {
  model_.setVisible(channel, visible);
  model_.recompute();
  changed();
}

void ResponseGraph::selectPoint(int point) {
  model_.selectPoint(point);
  changed();
}

void ResponseGraph::addMenuItem(std::function<QString()> text, std::function<void()> run) {
  menu_.push_back({std::move(text), std::move(run)});
}

// ---- refresh ------------------------------------------------------------------

void ResponseGraph::changed() {
  if (refreshPending_) return;
  refreshPending_ = true;
  QCoreApplication::postEvent(this, new QEvent(kRefreshEvent));
}

bool ResponseGraph::event(QEvent* e) {
  if (e->type() == kRefreshEvent) {
    if (refreshPending_) refreshNow();
    return true;
  }
  return QWidget::event(e);
}

ResponseGraph::Frame ResponseGraph::currentFrame() const {
  Frame f;
  for (int p = 0; p < kEqPointCount; ++p) f.handles[p] = painter_.handleRect(model_, p);
  f.selected = model_.selectedPoint();
  f.label = painter_.labelRect(model_);
  f.labelText = model_.labelText();
  for (int side = 0; side < 2; ++side) {
    f.arms[side] = painter_.qArmRect(model_, side == 1);
    f.armDragged[side] = model_.armDragged(side == 1);
  }
  return f;
}

void ResponseGraph::refreshNow() {
  refreshPending_ = false;
  if (width() <= 0 || height() <= 0) return;
  // A hidden widget hears of its size only when shown.
  if (model_.layout().width() != width() || model_.layout().height() != height()) {
    model_.resize(width(), height());
    prepareLayers();
  }
  if (painter_.devicePixelRatio() != devicePixelRatioF()) prepareLayers();
  model_.recompute();
  QRegion dirty;
  const bool wholeBackdrop = backdropStale_ || model_.backdropRevision() != backdropRevision_ ||
                             model_.currentChannel() != shownChannel_;
  if (wholeBackdrop) {
    backdropStale_ = true;
    dirty = rect();
  }
  const std::vector<PlotPoint>& curve = model_.polyline(model_.currentChannel());
  if (!wholeBackdrop) dirty += painter_.curveChange(model_, shownCurve_, curve);
  shownCurve_ = curve;
  shownChannel_ = model_.currentChannel();

  const Frame now = currentFrame();
  for (int p = 0; p < kEqPointCount; ++p) {
    const bool selection = (p == now.selected) != (p == frame_.selected);
    if (now.handles[p] != frame_.handles[p] || selection) dirty += now.handles[p] | frame_.handles[p];
  }
  if (now.label != frame_.label || now.labelText != frame_.labelText) dirty += now.label | frame_.label;
  for (int side = 0; side < 2; ++side)
    if (now.arms[side] != frame_.arms[side] || now.armDragged[side] != frame_.armDragged[side])
      dirty += now.arms[side] | frame_.arms[side];
  frame_ = now;
  if (!dirty.isEmpty()) update(dirty);
}

void ResponseGraph::prepareLayers() {
  painter_.prepare(model_.layout(), devicePixelRatioF());
  backdropStale_ = true;
  frame_ = Frame{};
  shownChannel_ = -1;
}

QImage ResponseGraph::background() const {
  return source_ != nullptr ? captureBackground(source_, this) : QImage();
}

void ResponseGraph::paintEvent(QPaintEvent* e) {
  if (refreshPending_ || model_.layout().width() != width() || model_.layout().height() != height())
    refreshNow();
  if (painter_.devicePixelRatio() != devicePixelRatioF()) prepareLayers();
  if (backdropStale_ || backdrop_.isNull()) {
    backdrop_ = painter_.backdrop(model_, background());
    backdropRevision_ = model_.backdropRevision();
    backdropStale_ = false;
  }
  QPainter p(this);
  p.setClipRegion(e->region());
  const qreal dpr = backdrop_.devicePixelRatio();
  for (const QRect& r : e->region())
    p.drawImage(r, backdrop_, QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
  const QRect bounds = e->region().boundingRect();
  painter_.paintFrame(p, model_, bounds);
  ++paintCount_;
  lastPainted_ = bounds;
}

void ResponseGraph::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  model_.resize(width(), height());
  prepareLayers();
  refreshNow();
}

QImage ResponseGraph::picture() {
  refreshNow();
  return painter_.render(model_, background());
}

// ---- the user -------------------------------------------------------------------

void ResponseGraph::deliver(const std::optional<GraphNotice>& notice) {
  if (!notice || parentWidget() == nullptr) return;
  if (notice->posted)
    postMessage(parentWidget(), controlId_, notice->wParam, notice->lParam);
  else
    sendMessage(parentWidget(), controlId_, notice->wParam, notice->lParam);
}

void ResponseGraph::press(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
  setFocus(Qt::MouseFocusReason);
  const QPoint at = e->position().toPoint();
  const auto notice = model_.press(at.x(), at.y());
  if (model_.dragging()) setCursor(Qt::PointingHandCursor);
  refreshNow();
  deliver(notice);
}

void ResponseGraph::mousePressEvent(QMouseEvent* e) { press(e); }
void ResponseGraph::mouseDoubleClickEvent(QMouseEvent* e) { press(e); }

void ResponseGraph::mouseMoveEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  const auto notice = model_.move(at.x(), at.y());
  if (!model_.dragging()) {
    if (model_.hovering()) setCursor(Qt::PointingHandCursor);
    else unsetCursor();
  }
  refreshNow();
  deliver(notice);
}

void ResponseGraph::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(e);
  const QPoint at = e->position().toPoint();
  const auto notice = model_.release(at.x(), at.y());
  if (!model_.hovering()) unsetCursor();
  refreshNow();
  deliver(notice);
}

void ResponseGraph::wheelEvent(QWheelEvent* e) {
  const int dy = e->angleDelta().y();
  if (!hasFocus() || dy == 0) return e->ignore();
  e->accept();
  const auto notice = model_.wheel(dy > 0);
  refreshNow();
  deliver(notice);
}

void ResponseGraph::keyPressEvent(QKeyEvent* e) {
  if (e->key() != Qt::Key_Up && e->key() != Qt::Key_Down) return e->ignore();  // to the panel
  const auto notice = model_.key(e->key() == Qt::Key_Up ? GraphKey::kUp : GraphKey::kDown);
  refreshNow();
  deliver(notice);
}

void ResponseGraph::contextMenuEvent(QContextMenuEvent* e) {
  if (menu_.empty()) return e->ignore();
  QMenu menu(this);
  for (const MenuItem& item : menu_) menu.addAction(item.text(), this, item.run);
  menu.exec(e->globalPos());
}

}  // namespace zr78
