#include "controls/numeric_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QWheelEvent>

#include <utility>

#include "controls/font_map.h"
#include "controls/panel_surface.h"
#include "controls/window_message.h"

namespace zr78 {

NumericEdit::NumericEdit(int controlId, QWidget* parent)
    : SkinnedWidget(parent), controlId_(controlId), edit_(new QLineEdit(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  edit_->setObjectName(QString::number(kEditChildId));
  edit_->setFrame(false);
  edit_->setAlignment(Qt::AlignCenter);
  edit_->setAttribute(Qt::WA_MacShowFocusRect, false);
  edit_->installEventFilter(this);
  setFocusProxy(edit_);
  setFocusPolicy(Qt::StrongFocus);
  styleChild();
}

void NumericEdit::setAppearance(int fontHeight, const QString& face, const QColor& textColour) {
  fontHeight_ = fontHeight;
  fontFace_ = face;
  textColour_ = textColour;
  styleChild();
  placeChild();
  canvas_.invalidateAll();
  refresh();
}

void NumericEdit::styleChild() {
  edit_->setFont(makeFont(fontFace_, fontHeight_));
  // Transparent over the drawn face, in the text colour; selections on the
  // dark field colour.
  edit_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none;"
                                      " padding: 0px; color: %1;"
                                      " selection-background-color: rgb(0, 150, 210);"
                                      " selection-color: white; }")
                           .arg(textColour_.name(QColor::HexArgb)));
}

void NumericEdit::placeChild() {
  // Inset by 2 pixels, vertically centred at the font's height, but never
  // lower than the glyphs need, so small fields do not cut their text.
  const int h = std::min(height(), std::max(height() - 4, fontHeight_ + 2));
  edit_->setGeometry(2, (height() - h) / 2, std::max(0, width() - 4), h);
}

void NumericEdit::setRules(EditRules rules) {
  rules_ = std::move(rules);
  refresh();
}

void NumericEdit::setValueFromNumber(double number) {
  value_ = valueFromNumber(rules_, number);
  refresh();
}

QString NumericEdit::shownText() const {
  return QString::fromStdString(zr78::shownText(rules_, value_));
}

void NumericEdit::setInteractive(bool on) {
  interactive_ = on;
  edit_->setReadOnly(!on);
  refresh();
}

void NumericEdit::setStateColour(EditColour which, const QColor& c) {
  stateColours_[static_cast<int>(which)] = c;
  refresh();
}

const QColor& NumericEdit::colour(EditColour which) const {
  return stateColours_[static_cast<int>(which)];
}

// An untouched field keeps its value: some shown texts do not read back as
// the value they show ("Center" would read as 0, then L10).
int NumericEdit::typed() const {
  const QString text = edit_->text();
  if (rules_.text && text == shownText()) return value_;
  return typedValue(rules_, text.toStdString());
}

void NumericEdit::notify() { sendMessage(parentWidget(), controlId_, notificationValue_, value_); }

void NumericEdit::commit(int v) {
  value_ = clampToRange(rules_, v);
  notify();
  refresh();
}

void NumericEdit::step(int delta) {
  if (interactive_) commit(typed() + delta);
}

bool NumericEdit::handleKey(int key) {
  if (!interactive_) return false;
  switch (key) {
    case Qt::Key_Up: step(1); return true;
    case Qt::Key_Down: step(-1); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: commit(typed()); return true;
    default: return false;
  }
}

bool NumericEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusIn:
      state_ = EditColour::kFocused;
      value_ = typed();
      notify();  // always, so the owner learns which field is active
      refresh();
      break;
    case QEvent::FocusOut: {
      state_ = EditColour::kNormal;
      const int before = value_;
      value_ = typed();
      if (value_ != before) notify();
      refresh();
      break;
    }
    case QEvent::KeyPress:
      if (handleKey(static_cast<QKeyEvent*>(event)->key())) return true;
      break;
    case QEvent::Wheel:
      wheelEvent(static_cast<QWheelEvent*>(event));
      return true;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void NumericEdit::wheelEvent(QWheelEvent* e) {
  const int dy = e->angleDelta().y();
  if (dy != 0) step(dy > 0 ? 1 : -1);
  e->accept();
}

void NumericEdit::mousePressEvent(QMouseEvent*) {
  if (interactive_) edit_->setFocus(Qt::MouseFocusReason);
}

void NumericEdit::refresh() {
  canvas_.invalidateFace();
  compose();
  update();
}

void NumericEdit::compose() {
  if (width() <= 0 || height() <= 0) return;
  if (!drawn_) {
    QImage face = canvas_.startFace(this);
    if (canvas_.source() == nullptr) face.fill(colour(EditColour::kNormal));
    screenFace_ = face;
    canvas_.setFace(std::move(face));
    return;
  }
  value_ = clampToRange(rules_, value_);
  QString text;
  if (rules_.text) {
    text = shownText();
    if (edit_->text() != text) edit_->setText(text);
  }
  QImage face(size(), QImage::Format_ARGB32_Premultiplied);
  face.fill(colour(state_));
  {
    QPainter p(&face);
    p.setPen(colour(EditColour::kFrame));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  QColor tint = colour(state_);
  tint.setAlpha(30);
  // On screen the line edit draws the text itself; the composed face for the
  // panels carries it drawn in.
  screenFace_ = face;
  if (!interactive_) QPainter(&screenFace_).fillRect(rect(), tint);
  QPainter p(&face);
  prepareSmoothPainter(p);
  if (!text.isEmpty()) {
    p.setFont(edit_->font());
    p.setPen(textColour_);
    p.drawText(QRectF(rect()).adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextSingleLine, text);
  }
  if (!interactive_) p.fillRect(rect(), tint);
  p.end();
  canvas_.setFace(std::move(face));
}

void NumericEdit::paintEvent(QPaintEvent*) {
  composedImage();
  QPainter p(this);
  p.drawImage(QPoint(0, 0), screenFace_);
}

void NumericEdit::resizeEvent(QResizeEvent* e) {
  SkinnedWidget::resizeEvent(e);
  placeChild();
  refresh();
}

}  // namespace zr78
