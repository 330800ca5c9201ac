#include "controls/skin_combo_box.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "controls/font_map.h"
#include "controls/png_resource.h"
#include "controls/window_message.h"

namespace zr78 {

const ComboLayout& comboLayout(int index) {
  static const ComboLayout layouts[COMBO_LAYOUT_COUNT] = {
      {70, 15, 0, 0, 60, 15},   {169, 19, 4, 1, 151, 18}, {100, 22, 6, 1, 80, 20},
      {109, 24, 6, 1, 86, 23},  {76, 19, 6, 0, 67, 18},
  };
  return layouts[index >= 0 && index < COMBO_LAYOUT_COUNT ? index : 0];
}

SkinComboBox::SkinComboBox(int controlId, QWidget* parent)
    : SkinnedWidget(parent), controlId_(controlId) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFrame(false);
  connect(this, qOverload<int>(&QComboBox::activated), this, &SkinComboBox::onUserSelection);
  styleList();
}

void SkinComboBox::setUp(const PanelSurface* background, int pngResourceId, int layoutIndex) {
  setUp(background, loadPngResource(pngResourceId), layoutIndex);
}

void SkinComboBox::setUp(const PanelSurface* background, const QImage& skin, int layoutIndex) {
  skin_ = skin;
  layout_ = std::clamp(layoutIndex, 0, COMBO_LAYOUT_COUNT - 1);
  canvas_.setSource(background);
  setUp_ = true;
  relayout();
}

void SkinComboBox::setCurSel(int wParam) {
  displayed_ = wParam & 0xFFFF;
  redraw();
}

QString SkinComboBox::displayedText() const {
  const int i = displayed_ < 0 || displayed_ >= count() ? 0 : displayed_;
  return itemText(i);
}

void SkinComboBox::setTextColour(const QColor& c) {
  textColour_ = c;
  styleList();
  redraw();
}

void SkinComboBox::onUserSelection(int) {
  displayed_ = std::max(0, currentIndex());
  redraw();
  postMessage(parentWidget(), controlId_, notificationValue_, notificationValue_);
}

void SkinComboBox::relayout() {
  const ComboLayout& l = comboLayout(layout_);
  scale_ = l.width > 0 && width() > 0 ? static_cast<double>(width()) / l.width : 1.0;
  textRect_ = QRect(QPoint(static_cast<int>(l.textLeft * scale_), static_cast<int>(l.textTop * scale_)),
                    QPoint(static_cast<int>(l.textRight * scale_) - 1,
                           static_cast<int>(l.textBottom * scale_) - 1));
  listFontHeight_ = std::max(1, static_cast<int>(std::lround(14 * scale_)));
  view()->setFont(makeFontForCellHeight(face_, listFontHeight_));
  canvas_.invalidateAll();
  update();
}

// The dropped list shows the items in the control's text colour over a
// background that contrasts with it (a light list for the default dark grey
// text, a dark one for light text), with the accent colour under the pointer.
void SkinComboBox::styleList() {
  const bool darkText = textColour_.lightness() < 128;
  view()->setStyleSheet(
      QStringLiteral("QAbstractItemView { background: %1; color: %2; border: 1px solid %3;"
                     " outline: 0; selection-background-color: rgb(0, 132, 190);"
                     " selection-color: white; }")
          .arg(darkText ? QStringLiteral("rgb(214, 217, 222)") : QStringLiteral("rgb(44, 44, 46)"),
               textColour_.name(),
               darkText ? QStringLiteral("rgb(150, 152, 156)") : QStringLiteral("rgb(20, 20, 22)")));
}

void SkinComboBox::compose() {
  QImage face = canvas_.startFace(this);
  if (shown_ && setUp_) {
    QPainter p(&face);
    prepareSmoothPainter(p);
    const ComboLayout& l = comboLayout(layout_);
    drawSprite(p, QRectF(0, 0, l.width * scale_, l.height * scale_), skin_,
               QRectF(focus_ ? l.width : 0, 0, l.width, l.height));
    // The face text is clipped to its rectangle, clear of the arrow.
    p.setClipRect(textRect_.adjusted(0, 0, 1, 1));
    p.setFont(makeFontForCellHeight(
        face_, faceTextHeight_ > 0 ? faceTextHeight_ * scale_ : listFontHeight_ * 1.2));
    p.setPen(textColour_);
    p.drawText(QRectF(textRect_), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               displayedText());
  }
  canvas_.setFace(std::move(face));
}

void SkinComboBox::resizeEvent(QResizeEvent* e) {
  SkinnedWidget::resizeEvent(e);
  relayout();
}

void SkinComboBox::focusInEvent(QFocusEvent* e) {
  SkinnedWidget::focusInEvent(e);
  focus_ = true;
  redraw();
}

void SkinComboBox::focusOutEvent(QFocusEvent* e) {
  SkinnedWidget::focusOutEvent(e);
  focus_ = false;
  redraw();
}

void SkinComboBox::changeEvent(QEvent* e) {
  SkinnedWidget::changeEvent(e);
  if (e->type() == QEvent::EnabledChange) {
    enabled_ = isEnabled();
    if (setUp_) redraw();
  }
}

void SkinComboBox::showEvent(QShowEvent* e) {
  SkinnedWidget::showEvent(e);
  shown_ = true;
  if (setUp_) redraw();
}

void SkinComboBox::hideEvent(QHideEvent* e) {
  SkinnedWidget::hideEvent(e);
  shown_ = false;
  if (setUp_) redraw();
}

void SkinComboBox::mousePressEvent(QMouseEvent* e) {
  if (acceptsMouse()) SkinnedWidget::mousePressEvent(e);
}

void SkinComboBox::mouseDoubleClickEvent(QMouseEvent* e) {
  if (acceptsMouse()) SkinnedWidget::mouseDoubleClickEvent(e);
}

}  // namespace zr78
