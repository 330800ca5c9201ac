#include "app/link_editor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/qt_text.h"
#include "controls/control_canvas.h"
#include "controls/font_map.h"
#include "controls/image_button.h"
#include "controls/png_resource.h"
#include "text/number_text.h"
#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {

namespace {

constexpr double kQuarterPi = 0.7853981633974475;
const QString kYaHei = QString::fromUtf8("微软雅黑");
const QColor kLinkLine(255, 0, 0);
const QColor kRing(255, 0, 0);
const QColor kCurrent(0, 0, 255);
const QColor kHintText(96, 96, 100);
const QColor kButtonText(186, 194, 208);
constexpr double kNumberFont = 12;
constexpr double kHintFont = 12;
constexpr double kButtonFont = 13;
constexpr QSize kButtonSize{83, 25};
constexpr int kButtonMargin = 12;
constexpr int kButtonGap = 10;
constexpr int kHintHeight = 44;
constexpr int kHintRight = 232;  // short of channel 7's circle at the bottom

int scaled(double design, double scale) { return static_cast<int>(design * scale); }

}  // namespace

std::array<QPoint, kChannelCount> LinkEditor::circleCentres(QSize client, int currentChannel,
                                                            double scale) {
  const int cx = client.width() / 2;
  const int cy = client.height() / 2;
  const double radius = kRingRadius * scale;
  std::array<QPoint, kChannelCount> centres{};
  for (int k = 0; k < kChannelCount; ++k) {
    if (k + 1 == currentChannel) {
      centres[static_cast<size_t>(k)] = QPoint(cx, cy);
      continue;
    }
    const double angle = k * kQuarterPi;
    centres[static_cast<size_t>(k)] =
        QPoint(cx - static_cast<int>(std::trunc(radius * std::cos(angle))),
               cy - static_cast<int>(std::trunc(radius * std::sin(angle))));
  }
  return centres;
}

LinkEditor::LinkEditor(const Groups& groups, int currentChannel, double scale, Language language,
                       QWidget* parent)
    : QDialog(parent), groups_(groups), current_(currentChannel), scale_(std::max(scale, 0.5)),
      language_(language) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowTitle(qtText(windowText(LinkEditorText::kTitle, language)));
  setFixedSize(scaled(kClientSize.width(), scale_), scaled(kClientSize.height(), scale_));
  const auto centres = circleCentres(size(), current_, scale_);
  const int r = scaled(kCircleRadius, scale_);
  for (int k = 0; k < kChannelCount; ++k)
    circles_[static_cast<size_t>(k)] =
        QRect(centres[static_cast<size_t>(k)] - QPoint(r, r), QSize(2 * r, 2 * r));

  surface_.setOwner(this);
  ok_ = new ImageButton(kOkId, this);
  exit_ = new ImageButton(kExitId, this);
  ok_->setText(qtText(sharedText(kTextOk, language)));
  exit_->setText(qtText(sharedText(kTextExit, language)));
  messages_
      .on(kOkId,
          [this](const WindowMessage&) {
            onOk();
            return qintptr{0};
          })
      .on(kExitId, [this](const WindowMessage&) {
        reject();
        return qintptr{0};
      });
  buttonArt_ = loadPngResource(png::TOP_BUTTON);
  layOutButtons();
  compose();
}

void LinkEditor::layOutButtons() {
  const QSize button(scaled(kButtonSize.width(), scale_), scaled(kButtonSize.height(), scale_));
  const int margin = scaled(kButtonMargin, scale_);
  const int top = height() - margin - button.height();
  const int exitLeft = width() - margin - button.width();
  exit_->setGeometry(QRect(QPoint(exitLeft, top), button));
  ok_->setGeometry(QRect(QPoint(exitLeft - scaled(kButtonGap, scale_) - button.width(), top), button));
  for (ImageButton* b : {ok_, exit_}) {
    b->setFontStyle(kButtonFont * scale_, kYaHei, kButtonText, kButtonText,
                    TEXT_HCENTRE | TEXT_VCENTRE | TEXT_SINGLE_LINE);
  }
}

bool LinkEditor::event(QEvent* e) { return messages_.dispatch(e) || QDialog::event(e); }

void LinkEditor::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  raise();  // in front of the main window, without moving it
  activateWindow();
}

// The whole picture into the dialog's surface: the links first, then every
// circle with its number, the middle channel's again in blue.
void LinkEditor::compose() {
  surface_.create(this);
  QImage& image = surface_.image();
  if (image.isNull()) return;
  QPainter p(&image);
  prepareSmoothPainter(p);

  // The hint in the free corner left of the buttons, below the ring.
  p.setFont(makeFont(kYaHei, kHintFont * scale_));
  p.setPen(kHintText);
  const int margin = scaled(kButtonMargin, scale_);
  const QRect hint(QPoint(margin, height() - margin - scaled(kHintHeight, scale_)),
                   QPoint(scaled(kHintRight, scale_), height() - margin));
  p.drawText(hint, Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
             qtText(windowText(LinkEditorText::kHint, language_)));

  p.setPen(QPen(kLinkLine, 3 * scale_, Qt::SolidLine, Qt::RoundCap));
  for (int head = 0; head < kChannelCount; ++head) {
    if (groups_[static_cast<size_t>(head)] != head + 1) continue;
    for (int k = 0; k < kChannelCount; ++k)
      if (k != head && groups_[static_cast<size_t>(k)] == head + 1)
        p.drawLine(QRectF(circle(head)).center(), QRectF(circle(k)).center());
  }
  const QFont font = makeFont(kYaHei, kNumberFont * scale_);
  const auto drawCircle = [&](int k, const QColor& colour) {
    const QRectF r = QRectF(circle(k)).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(colour, 2 * scale_));
    p.setBrush(Qt::white);
    p.drawEllipse(r);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip,
               qtText(formatInteger("%d", k + 1)));
  };
  for (int k = 0; k < kChannelCount; ++k) drawCircle(k, kRing);
  if (current_ >= 1 && current_ <= kChannelCount) drawCircle(current_ - 1, kCurrent);
  p.end();
  // The buttons copy their background from the new picture.
  for (ImageButton* b : {ok_, exit_}) b->setImage(&surface_, buttonArt_);
  update();
}

void LinkEditor::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!surface_.image().isNull()) p.drawImage(QPoint(0, 0), surface_.image());
}

int LinkEditor::circleAt(QPointF point) const {
  for (int k = 0; k < kChannelCount; ++k)
    if (circle(k).contains(point.toPoint())) return k;
  return -1;
}

void LinkEditor::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QDialog::mouseReleaseEvent(e);
  const int k = circleAt(e->position());
  if (k < 0 || k + 1 == current_ || current_ < 1 || current_ > kChannelCount) return;
  groups_[static_cast<size_t>(current_ - 1)] = current_;
  groups_[static_cast<size_t>(k)] = current_;
  compose();
}

void LinkEditor::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::RightButton) return QDialog::mousePressEvent(e);
  const int k = circleAt(e->position());
  if (k < 0 || k + 1 == current_) return;
  groups_[static_cast<size_t>(k)] = 0;
  compose();
}

void LinkEditor::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return onOk();
  QDialog::keyPressEvent(e);
}

// OK counts only when some channel is linked to the middle one.
void LinkEditor::onOk() {
  const bool linked = std::find(groups_.begin(), groups_.end(), current_) != groups_.end();
  linked ? accept() : reject();
}

}  // namespace zr78
