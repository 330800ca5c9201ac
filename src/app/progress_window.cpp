#include "app/progress_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include "controls/font_map.h"
#include "controls/png_resource.h"

namespace zr78 {

namespace {

constexpr int kTextTop = 90;  // the text line: (0, 90)–(541, 161)
constexpr double kFontPoints = 25;
const QColor kTextColour(255, 0, 0);

}  // namespace

ProgressWindow::ProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      owner_(owner),
      background_(loadPngResource(png::PROGRESS_BACKGROUND)),
      bar_(loadPngResource(png::PROGRESS_BAR)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowOpacity(kOpacity);
  setFixedSize(ProgressModel::kWidth, ProgressModel::kHeight);
  font_ = QFont(mappedFontFamily(QString::fromUtf8("黑体")));
  font_.setPointSizeF(kFontPoints);
  compose(0);
  centreOverOwner();
}

QPoint ProgressWindow::centredPosition() const {
  if (owner_ == nullptr) return pos();
  const QRect o = owner_->window()->frameGeometry();
  // (left + right − 541) / 2 with the exclusive right edge of the owner.
  const int right = o.left() + o.width();
  const int bottom = o.top() + o.height();
  return QPoint((o.left() + right - ProgressModel::kWidth) / 2,
                (o.top() + bottom - ProgressModel::kHeight) / 2);
}

void ProgressWindow::centreOverOwner() { move(centredPosition()); }

void ProgressWindow::setValue(int value) {
  compose(value);
  centreOverOwner();
  update();
  emit valueShown(text_, barWidth_);
}

void ProgressWindow::compose(int value) {
  text_ = QString::fromStdString(model_.text(value));
  barWidth_ = model_.barWidth(value);
  // Composed at the screen's density, so the bar stays crisp on HiDPI screens.
  const qreal dpr = devicePixelRatioF();
  QImage picture(qRound(ProgressModel::kWidth * dpr), qRound(ProgressModel::kHeight * dpr),
                 QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(dpr);
  picture.fill(QColor(40, 40, 42));
  QPainter p(&picture);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QRectF whole(0, 0, ProgressModel::kWidth, ProgressModel::kHeight);
  drawSprite(p, whole, background_, whole);
  const QRectF filled(0, 0, barWidth_, ProgressModel::kHeight);
  drawSprite(p, filled, bar_, filled);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(font_);
  p.setPen(kTextColour);
  p.drawText(QRectF(0, kTextTop, ProgressModel::kWidth, ProgressModel::kHeight - kTextTop),
             Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, text_);
  p.end();
  picture_ = picture;
}

void ProgressWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRectF(rect()), picture_);
}

void ProgressWindow::resizeEvent(QResizeEvent*) {
  QPainterPath path;
  path.addRoundedRect(QRectF(rect()), kCornerEllipse / 2.0, kCornerEllipse / 2.0);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void ProgressWindow::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) drag_.begin(this, e->globalPosition());
}

void ProgressWindow::mouseMoveEvent(QMouseEvent* e) { drag_.follow(this, e->globalPosition()); }

void ProgressWindow::mouseReleaseEvent(QMouseEvent*) { drag_.end(); }

void ProgressWindow::closeEvent(QCloseEvent* e) {
  centreOverOwner();
  model_.setFormat(std::string());
  setValue(0);
  QWidget::closeEvent(e);
}

}  // namespace zr78
