#include "app/routing_dialog.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

#include "app/number_box_look.h"
#include "app/qt_text.h"
#include "channels/route_word.h"
#include "controls/control_canvas.h"
#include "controls/edit_rules.h"
#include "controls/fader.h"
#include "controls/image_button.h"
#include "controls/numeric_edit.h"
#include "controls/png_resource.h"
#include "controls/skin_label.h"
#include "registers/register_table.h"
#include "text/number_text.h"
#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {

namespace {

const QColor kFill(0x49, 0x48, 0x48);
const QString kYaHei = QString::fromUtf8("微软雅黑");
const QString kHei = QString::fromUtf8("黑体");
const QColor kLabelText(186, 194, 208);
constexpr int kRouteFaderSkin = 5;
constexpr int kCellWidth = 108;
constexpr int kCellHeight = 55;
constexpr int kFirstColumnX = 102;
constexpr int kFirstRowY = 14;
constexpr double kLabelFont = 13;
constexpr double kBoxFont = 12;
constexpr int kInputLow = 4;  // input source word whose rows read "Low%d"

struct DesignRect {
  double left, top, width, height;
};

}  // namespace

QSize RoutingDialog::baseClientSize(int rowCount) {
  return QSize(kCellWidth * kColumnCount + 102, kCellHeight * rowCount + 72);
}

RoutingDialog::RoutingDialog(RegisterTable& table, Language language, int rowCount, double scale,
                             QWidget* owner)
    : QDialog(owner), table_(table), language_(language),
      rows_(std::clamp(rowCount, 1, kRouteInputs)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowTitle(qtText(sharedText(kTextMixer, language)));
  // The dialog holds the focus when it opens: a level box would report its
  // value as an edit on taking it.
  setFocusPolicy(Qt::StrongFocus);
  for (int o = 0; o < kGridSize; ++o)
    for (int i = 0; i < kGridSize; ++i)
      registers_[static_cast<size_t>(cellOf(o, i))] =
          o < kRouteOutputs && i < kRouteInputs ? routeRegister(o, i) : -1;
  surface_.setOwner(this);
  cellArt_ = loadPngResource(png::ROUTE_CELL);
  columnArt_ = loadPngResource(png::ROUTE_COLUMN);
  rowArt_ = loadPngResource(png::ROUTE_ROW);
  switchArt_ = loadPngResource(png::ROUTE_SWITCH);
  faderArt_ = loadPngResource(png::FADER_ROUTE);
  createControls();
  buildMessageTable();
  const QSize base = baseClientSize(rows_);
  const double s = std::max(scale, 0.5);
  resize(qRound(base.width() * s), qRound(base.height() * s));
  if (owner != nullptr) {
    const QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
  }
}

RoutingDialog::~RoutingDialog() = default;

void RoutingDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  setFocus(Qt::OtherFocusReason);
}

int RoutingDialog::registerOfCell(int k) const {
  return k >= 0 && k < kGridSize * kGridSize ? registers_[static_cast<size_t>(k)] : -1;
}

const RoutingDialog::Cell* RoutingDialog::cell(int k) const {
  if (k < 0 || k >= static_cast<int>(cells_.size()) || cells_[static_cast<size_t>(k)].on == nullptr)
    return nullptr;
  return &cells_[static_cast<size_t>(k)];
}

ImageButton* RoutingDialog::routeSwitch(int output, int input) const {
  const Cell* c = cell(cellOf(output, input));
  return c ? c->on : nullptr;
}
NumericEdit* RoutingDialog::levelBox(int output, int input) const {
  const Cell* c = cell(cellOf(output, input));
  return c ? c->level : nullptr;
}
Fader* RoutingDialog::levelFader(int output, int input) const {
  const Cell* c = cell(cellOf(output, input));
  return c ? c->fader : nullptr;
}

void RoutingDialog::createControls() {
  cells_.resize(kGridSize * kGridSize);
  for (int o = 0; o < kColumnCount; ++o) {
    for (int i = firstRow_; i < rows_; ++i) {
      const int k = cellOf(o, i);
      const RouteCell shown = decodeRouteWord(table_.getRegister(registers_[static_cast<size_t>(k)]));
      Cell& c = cells_[static_cast<size_t>(k)];
      c.on = new ImageButton(kSwitchId, this);
      c.on->setIndex(k);
      c.on->setState(shown.on ? ButtonState::kPressed : ButtonState::kReleased);
      c.level = new NumericEdit(kLevelBoxId, this);
      c.level->setNotificationValue(k);
      c.level->setRules(plainNumberRules("%0.0f", 0, kMaxRouteLevel));
      c.level->setValue(shown.level);
      c.fader = new Fader(kFaderId, this);
      c.fader->setIndex(k);
      c.fader->setOrientation(FaderOrientation::kHorizontal);
      c.fader->setRange(0, kMaxRouteLevel);
      c.fader->setScale(1);
      c.fader->setValue(std::min(shown.level, kMaxRouteLevel));
    }
  }
  const bool low = table_.getRegister(kInputSourceRegister) == kInputLow;
  for (int j = 0; j < 2 * kGridSize; ++j) {
    labels_[static_cast<size_t>(j)] = new SkinLabel(this, kLabelId + j);
    labels_[static_cast<size_t>(j)]->setBackgroundSource(&surface_);
  }
  for (int i = 0; i < kGridSize; ++i) {
    const std::string_view format = windowText(low ? RoutingText::kLow : RoutingText::kHigh, language_);
    labels_[static_cast<size_t>(i)]->setText(qtText(formatInteger(format, i + 1)));
  }
  for (int o = 0; o < kGridSize; ++o)
    labels_[static_cast<size_t>(kGridSize + o)]->setText(
        qtText(formatInteger(windowText(RoutingText::kOutChannel, language_), o + 1)));
}

void RoutingDialog::buildMessageTable() {
  messages_
      .on(kLevelBoxId,
          [this](const WindowMessage& m) {
            onLevelBox(static_cast<int>(m.wParam()));
            return qintptr{0};
          })
      .on(kSwitchId,
          [this](const WindowMessage& m) {
            onSwitch(static_cast<int>(m.wParam()));
            return qintptr{0};
          })
      .on(kFaderId, [this](const WindowMessage& m) {
        onFader(static_cast<int>(m.wParam()), m.lParam());
        return qintptr{0};
      });
}

bool RoutingDialog::event(QEvent* e) { return messages_.dispatch(e) || QDialog::event(e); }

// ---------------------------------------------------------------------------
// Cells

void RoutingDialog::write(int k) {
  const Cell* c = cell(k);
  const int address = registerOfCell(k);
  if (c == nullptr || address < 0) return;
  const int level = static_cast<int>(c->level->valueInDisplayUnits());
  table_.setRegister(address, encodeRouteWord(level, c->on->state() == ButtonState::kPressed));
}

void RoutingDialog::onLevelBox(int k) {
  const Cell* c = cell(k);
  if (c == nullptr) return;
  c->fader->setValue(c->level->valueInDisplayUnits());
  write(k);
}

void RoutingDialog::onSwitch(int k) { write(k); }

void RoutingDialog::onFader(int k, qintptr position) {
  const Cell* c = cell(k);
  if (c == nullptr) return;
  c->level->setValueFromNumber(static_cast<double>(position));
  write(k);
}

// ---------------------------------------------------------------------------
// Layout and painting

void RoutingDialog::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  layOut();
}

void RoutingDialog::paintBackground(double sx, double sy) {
  surface_.create(this);
  QImage& image = surface_.image();
  if (image.isNull()) return;
  image.fill(kFill);
  QPainter p(&image);
  prepareSmoothPainter(p);
  const auto draw = [&](const QImage& art, double x, double y) {
    if (art.isNull()) return;
    const QSizeF size = art.deviceIndependentSize();
    drawSprite(p, QRectF(x * sx, y * sy, size.width() * sx, size.height() * sy), art,
               QRectF(QPointF(0, 0), size));
  };
  for (int o = 0; o < kColumnCount; ++o) {
    for (int i = firstRow_; i < rows_; ++i) draw(cellArt_, 94 + kCellWidth * o, 11 + kCellHeight * i);
    draw(columnArt_, 94 + kCellWidth * o, kCellHeight * rows_ + 4);
  }
  for (int i = firstRow_; i < rows_; ++i) draw(rowArt_, 72, 11 + kCellHeight * i);
}

void RoutingDialog::layOut() {
  const QSize base = baseClientSize(rows_);
  const double sx = static_cast<double>(width()) / base.width();
  const double sy = static_cast<double>(height()) / base.height();
  const double s = std::min(sx, sy);
  paintBackground(sx, sy);
  const auto place = [&](QWidget* w, const DesignRect& d) {
    w->setGeometry(static_cast<int>(d.left * sx), static_cast<int>(d.top * sy),
                   static_cast<int>(d.width * s), static_cast<int>(d.height * s));
  };
  for (int o = 0; o < kColumnCount; ++o) {
    for (int i = firstRow_; i < rows_; ++i) {
      const Cell& c = cells_[static_cast<size_t>(cellOf(o, i))];
      const double x0 = kFirstColumnX + kCellWidth * o;
      const double y0 = kCellHeight * i + kFirstRowY;
      place(c.on, {x0, y0, 34, 17});
      c.on->setImage(&surface_, switchArt_);
      place(c.level, {x0 + 49, y0, 40, 17});
      c.level->setBackgroundSource(&surface_);
      styleNumberBox(*c.level, kStripNumberBox, qRound(kBoxFont * s), kHei);
      place(c.fader, {x0 - 4, y0 + 35, 96, 21});
      c.fader->configure(&surface_, kRouteFaderSkin, faderArt_);
    }
  }
  const int labelFont = qRound(kLabelFont * s);
  constexpr int kCentred = TEXT_HCENTRE | TEXT_VCENTRE | TEXT_SINGLE_LINE;
  for (int i = 0; i < kGridSize; ++i) {
    SkinLabel* l = labels_[static_cast<size_t>(i)];
    const bool shown = i >= firstRow_ && i < rows_;
    const double top = shown ? 22 + kCellHeight * i : -1000;
    l->setGeometry(static_cast<int>(2 * sx), static_cast<int>(top * sy), static_cast<int>(70 * sx),
                   static_cast<int>(23 * s));
    l->setTextStyle(labelFont, kYaHei, kLabelText, kCentred);
    l->setVisible(shown);
  }
  for (int o = 0; o < kGridSize; ++o) {
    SkinLabel* l = labels_[static_cast<size_t>(kGridSize + o)];
    const bool shown = o < kColumnCount;
    l->setGeometry(static_cast<int>((96 + kCellWidth * o) * sx),
                   static_cast<int>((shown ? kCellHeight * rows_ + 26 : -1000) * sy),
                   static_cast<int>(100 * sx), static_cast<int>(23 * s));
    l->setTextStyle(labelFont, kYaHei, kLabelText, kCentred);
    l->setVisible(shown);
  }
  update();
}

void RoutingDialog::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (surface_.image().isNull()) return p.fillRect(rect(), kFill);
  p.drawImage(QPoint(0, 0), surface_.image());
}

}  // namespace zr78
