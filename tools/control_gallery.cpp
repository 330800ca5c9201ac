// Renders every custom control in each of its states at scale 1 and 2 into
// PNG sheets for review, each over a panel surface like the real windows.
//
//   control_gallery <output folder>
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>
#include <functional>
#include <memory>

#include "app/edit_kinds.h"
#include "controls/fader.h"
#include "controls/image_button.h"
#include "controls/skin_label.h"
#include "controls/level_slider.h"
#include "controls/panel_surface.h"
#include "controls/numeric_edit.h"
#include "controls/png_resource.h"
#include "controls/skin_combo_box.h"

namespace zr78 {
namespace {

const QColor TEXT(186, 194, 208);
const QColor PANEL(73, 72, 72);
const QString YAHEI = QString::fromUtf8("微软雅黑");

// A panel whose surface holds the artwork the controls blend into.
class Sheet : public QWidget {
 public:
  Sheet(QSize design, double scale) : scale_(scale) {
    resize(qRound(design.width() * scale), qRound(design.height() * scale));
    surface.setOwner(this);
    surface.setPen(PANEL);
    surface.create(this);
    surface.image().fill(PANEL);
    // Holds the focus so that only the controls meant to look focused do.
    focusSink_ = new QWidget(this);
    focusSink_->setGeometry(0, 0, 1, 1);
    focusSink_->setFocusPolicy(Qt::StrongFocus);
  }
  // Stretches part of the main background (design pixels) over the sheet.
  void useMainBackground(const QRectF& part) {
    surface.stretchIn(loadPngResource(png::MAIN_BACKGROUND), rect(), part);
  }
  QRect at(double x, double y, double w, double h) const {
    return QRect(qRound(x * scale_), qRound(y * scale_), qRound(w * scale_), qRound(h * scale_));
  }
  double s(double v) const { return v * scale_; }
  SkinLabel* caption(const QString& text, double x, double y, double w, int format = 1 | 4 | 32) {
    auto* l = new SkinLabel(this);
    l->setGeometry(at(x, y, w, 14));
    l->setBackgroundSource(&surface);
    l->setTextStyle(qRound(s(10.5)), YAHEI, QColor(150, 156, 168), format);
    l->setText(text);
    return l;
  }
  bool save(const QString& path) {
    show();
    focusSink_->setFocus();
    QApplication::processEvents();
    const bool ok = grab().save(path, "PNG");
    if (!ok) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return ok;
  }
  PanelSurface surface;

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(QPoint(0, 0), surface.image()); }

 private:
  double scale_;
  QWidget* focusSink_;
};

void hover(QWidget* w) {
  const QPointF c(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent move(QEvent::MouseMove, c, w->mapToGlobal(c), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
}

void focusIn(QWidget* w) {
  QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
  QApplication::sendEvent(w, &in);
}

struct ButtonRow {
  const char* name;
  int png;
  double w, h;
  QString releasedText, pressedText;
  double fontSize;
};

// Columns: released, pressed, hover over released, hover over pressed, disabled.
bool buttons(const QString& dir, double scale) {
  const std::vector<ButtonRow> rows = {
      {"top button 153", png::TOP_BUTTON, 83, 25, "system", "connected", 14.5},
      {"mem 182", png::MEM_BUTTON, 72, 24, "   Mem", "   Mem", 14.5},
      {"channel 141", png::CHANNEL_SELECT, 92, 20, "CH1", "CH1", 13},
      {"command 148", png::COMMAND_BUTTON, 48, 29, "reset", "bypass", 12},
      {"role 144", png::ROLE_SELECTOR, 92, 19, "FL Tweeter", "FL Tweeter", 12},
      {"phase 152", png::PHASE, 39, 22, "0'", "180'", 12},
      {"mute 151", png::MUTE, 39, 22, "", "", 12},
      {"switch 172", png::ROUTE_SWITCH, 34, 17, "", "", 12},
      {"link 150", png::LINK, 16, 16, "", "", 12},
      {"chain 186", png::DELAY_CHAIN, 16, 16, "", "", 12},
      {"radio 143", png::RADIO, 16, 16, "", "", 12},
      {"band 147", png::BAND_SWITCH, 14, 14, "", "", 12},
      {"close 154", png::WINDOW_CLOSE, 47, 20, "", "", 12},
      {"max 155", png::WINDOW_MAXIMISE, 28, 20, "", "", 12},
      {"min 156", png::WINDOW_MINIMISE, 28, 20, "", "", 12},
      {"car L 137", png::CAR_LEFT, 23, 33, "", "", 12},
      {"car R 138", png::CAR_RIGHT, 23, 33, "", "", 12},
      {"centre 136", png::CAR_CENTRE, 33, 23, "", "", 12},
      {"sub 139", png::CAR_SUB, 33, 23, "", "", 12},
  };
  const char* columns[] = {"released", "pressed", "hover", "hover+pressed", "disabled"};
  const double cellW = 110, cellH = 40, left = 90;
  Sheet sheet(QSize(int(left + 5 * cellW), int(20 + rows.size() * cellH)), scale);
  for (int c = 0; c < 5; ++c) sheet.caption(columns[c], left + c * cellW, 3, cellW);
  int id = 5000;
  for (size_t r = 0; r < rows.size(); ++r) {
    const ButtonRow& row = rows[r];
    const double y = 20 + r * cellH;
    sheet.caption(row.name, 4, y + cellH / 2 - 7, left - 8, 4 | 32);
    for (int c = 0; c < 5; ++c) {
      auto* b = new ImageButton(id++, &sheet);
      b->setGeometry(sheet.at(left + c * cellW + (cellW - row.w) / 2, y + (cellH - row.h) / 2, row.w, row.h));
      b->setImage(&sheet.surface, row.png);
      if (row.png == png::ROLE_SELECTOR) b->setHoverFrame(1);
      b->setFontStyle(sheet.s(row.fontSize), YAHEI, TEXT, Qt::white, 1 | 4 | 32);
      const bool pressed = c == 1 || c == 3;
      b->setState(pressed ? ButtonState::kPressed : ButtonState::kReleased);
      b->setText(pressed ? row.pressedText : row.releasedText);
      if (c == 4) b->setEnabled(false);
    }
  }
  sheet.show();
  for (auto* b : sheet.findChildren<ImageButton*>()) {
    const int column = (b->controlId() - 5000) % 5;
    if (column == 2 || column == 3) hover(b);
  }
  return sheet.save(dir + QStringLiteral("/buttons_x%1.png").arg(scale));
}

struct FaderRow {
  const char* name;
  int png;
  double w, h;
  bool vertical;
  int minimum, maximum;
  int positions[3];
};

// Columns: minimum, middle, maximum, focused.
bool faders(const QString& dir, double scale) {
  const std::vector<FaderRow> rows = {
      {"EQ 146 (skin 0)", png::FADER_EQ, 18, 98, true, -200, 200, {-200, 0, 200}},
      {"channel 159 (skin 3)", png::FADER_CHANNEL, 40, 109, true, -60, 0, {-60, -20, 0}},
      {"skin 1 (165)", png::FADER_SKIN_1, 51, 124, true, 0, 100, {0, 50, 100}},
      {"skin 2 (166)", png::FADER_SKIN_2, 79, 137, true, 0, 100, {0, 50, 100}},
      {"skin 4 (167)", png::FADER_SKIN_4, 38, 122, true, -60, 0, {-60, -30, 0}},
  };
  const double cellW = 100, cellH = 170, left = 10;
  Sheet sheet(QSize(int(left + 4 * cellW + 10), int(20 + rows.size() * cellH + 60)), scale);
  const char* columns[] = {"minimum", "middle", "maximum", "focused"};
  for (int c = 0; c < 4; ++c) sheet.caption(columns[c], left + c * cellW, 3, cellW);
  int id = 11024;
  for (size_t r = 0; r < rows.size(); ++r) {
    const FaderRow& row = rows[r];
    const double y = 20 + r * cellH;
    sheet.caption(row.name, left, y + cellH - 16, 4 * cellW);
    for (int c = 0; c < 4; ++c) {
      auto* f = new Fader(id++, &sheet);
      f->setGeometry(sheet.at(left + c * cellW + (cellW - row.w) / 2, y + 2, row.w, row.h));
      f->configure(&sheet.surface, faderSkinOfResource(row.png), row.png);
      f->setRange(row.minimum, row.maximum);
      f->setScale(1);
      f->setValue(row.positions[c == 3 ? 1 : c]);
      if (c == 3) f->setFocusMark(true);
    }
  }
  // Horizontal routing fader (skin 5) at 0, 50, 100 and focused.
  const double y = 20 + rows.size() * cellH;
  sheet.caption("routing 173 (skin 5)", left, y + 30, 4 * cellW);
  for (int c = 0; c < 4; ++c) {
    auto* f = new Fader(id++, &sheet);
    f->setGeometry(sheet.at(left + c * cellW + 2, y + 4, 96, 21));
    f->setOrientation(FaderOrientation::kHorizontal);
    f->configure(&sheet.surface, 5, png::FADER_ROUTE);
    f->setRange(0, 100);
    f->setScale(1);
    f->setValue(c == 3 ? 50 : c * 50);
    if (c == 3) f->setFocusMark(true);
  }
  return sheet.save(dir + QStringLiteral("/faders_x%1.png").arg(scale));
}

bool sliders(const QString& dir, double scale) {
  Sheet sheet(QSize(440, 300), scale);
  struct Row { const char* name; double value; bool toggle; bool active; const char* caption; };
  const Row rows[] = {{"idle -60", -60, false, false, "Volume:OFF"},
                      {"active -20", -20, false, true, "Volume:-20"},
                      {"idle 0", 0, false, false, "Volume:0"},
                      {"toggle on 520", 520, true, true, "Level:20"},
                      {"toggle off 20", 20, true, false, "Level"}};
  sheet.caption("normal frame 170 x 19", 130, 3, 170);
  sheet.caption("tall frame with caption", 300, 3, 140);
  int id = 6034;
  for (int r = 0; r < 5; ++r) {
    const double y = 22 + r * 54;
    sheet.caption(rows[r].name, 4, y + 12, 110, 4 | 32);
    for (int tall = 0; tall < 2; ++tall) {
      auto* s = new LevelSlider(id++, &sheet);
      s->setGeometry(tall ? sheet.at(300, y, 136, 26) : sheet.at(120, y + 6, 170, 19));
      s->setTallFrame(tall == 1);
      s->setRange(rows[r].toggle ? 0 : -60, rows[r].toggle ? 100 : 0);
      s->setToggleMode(rows[r].toggle, 500);
      s->setBackground(&sheet.surface);
      s->setTextColour(TEXT);
      if (tall) s->setText(rows[r].caption);
      s->setSliderValue(rows[r].value);
      if (!rows[r].active) {
        QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(s, &out);
      }
    }
  }
  return sheet.save(dir + QStringLiteral("/sliders_x%1.png").arg(scale));
}

bool combos(const QString& dir, double scale) {
  Sheet sheet(QSize(440, 150), scale);
  struct Row { int layout; const char* items[3]; QColor text; const char* face; };
  const Row rows[] = {{3, {"hi level", "BT", "USB"}, QColor(250, 250, 250), "微软雅黑"},
                      {4, {"butter_w", "bassel", "link_ri"}, QColor(82, 82, 82), "Arial Bold"},
                      {4, {"24dB/Oct", "OFF", "6dB/Oct"}, QColor(82, 82, 82), "Arial Bold"},
                      {0, {"mS", "cm", "inch"}, QColor(82, 82, 82), "Arial Bold"},
                      {2, {"Atk*2", "Atk*4", "Atk*8"}, QColor(82, 82, 82), "Arial Bold"},
                      {1, {"Speaker-level input", "OPT", "USB"}, QColor(82, 82, 82), "Arial Bold"}};
  sheet.caption("normal", 60, 3, 180);
  sheet.caption("focused", 250, 3, 180);
  int id = 16124;
  SkinComboBox* first = nullptr;
  for (int r = 0; r < 6; ++r) {
    const ComboLayout& l = comboLayout(rows[r].layout);
    const double y = 20 + r * 21;
    sheet.caption(QStringLiteral("layout %1").arg(rows[r].layout), 2, y + 2, 56, 4 | 32);
    for (int c = 0; c < 2; ++c) {
      auto* cb = new SkinComboBox(id++, &sheet);
      cb->setGeometry(sheet.at(60 + c * 190, y, std::min(180, l.width), l.height * std::min(1.0, 180.0 / l.width)));
      cb->setTextColour(rows[r].text);
      cb->setFontFace(QString::fromUtf8(rows[r].face));
      cb->setUp(&sheet.surface, png::COMBO_LAYOUT_0 + rows[r].layout, rows[r].layout);
      for (const char* item : rows[r].items) cb->addItem(item);
      if (c == 1) focusIn(cb);
      if (!first) first = cb;
    }
  }
  bool ok = sheet.save(dir + QStringLiteral("/combos_x%1.png").arg(scale));
  // The dropped list of the first selector.
  first->showPopup();
  QApplication::processEvents();
  ok = first->view()->window()->grab().save(dir + QStringLiteral("/combo_list_x%1.png").arg(scale)) && ok;
  first->hidePopup();
  return ok;
}

bool labels(const QString& dir, double scale) {
  Sheet sheet(QSize(420, 120), scale);
  struct Row { const char* text; const char* face; double size; QColor colour; int format; double w; };
  const Row rows[] = {{"ZR-78-USB", "微软雅黑", 14, QColor(250, 250, 250, 120), 4 | 32, 200},
                      {"Volume:-20", "微软雅黑", 14, QColor(250, 250, 250, 120), 4 | 32, 96},
                      {"Freq  Q  Gain", "Arial Bold", 11, TEXT, 1 | 4 | 32, 120},
                      {"音量 · 均衡 · 分频", "黑体", 13, TEXT, 1 | 4 | 32, 160},
                      {"Overflowing centred text", "宋体", 12, QColor(255, 200, 80), 1 | 4 | 32, 60},
                      {"Times New Roman right", "Times New Roman", 13, TEXT, 2 | 4 | 32, 200}};
  for (int r = 0; r < 6; ++r) {
    auto* l = new SkinLabel(&sheet);
    l->setGeometry(sheet.at(160, 4 + r * 19, rows[r].w, 18));
    l->setBackgroundSource(&sheet.surface);
    l->setTextStyle(qRound(sheet.s(rows[r].size)), QString::fromUtf8(rows[r].face), rows[r].colour, rows[r].format);
    if (r == 4) l->setFillColour(QColor(0, 0, 0, 60));
    l->setText(QString::fromUtf8(rows[r].text));
    sheet.caption(QString::fromUtf8(rows[r].face), 4, 6 + r * 19, 140, 4 | 32);
  }
  return sheet.save(dir + QStringLiteral("/labels_x%1.png").arg(scale));
}

bool edits(const QString& dir, double scale) {
  struct Row { const char* name; EditRules rules; int value; };
  const Row rows[] = {
      {"gain dB", plainNumberRules("%0.0fdB", -60, 0), -3},
      {"gain OFF", channelGainEdit(), -60},
      {"balance", balanceEdit(0, 20), 10},
      {"balance L3", balanceEdit(0, 20), 7},
      {"time steps", timeStepEdit(), 8},
      {"grid frequency", gridFrequencyEdit(), 200},
      {"crossover Hz", frequencyEdit("%0.0fHz", 19, 20000), 19},
      {"Q", qEdit(), 51},
      {"band gain", bandGainEdit(), -35},
      {"delay ms", delayEdit(DelayUnit::Milliseconds), 48},
      {"delay cm", delayEdit(DelayUnit::Centimetres), 48},
      {"delay inch", delayEdit(DelayUnit::Inches), 48},
      {"threshold", thresholdEdit(), -300},
      {"attack", attackEdit(), 0},
  };
  const char* columns[] = {"normal", "focused", "read-only"};
  Sheet sheet(QSize(360, 20 + 14 * 22), scale);
  for (int c = 0; c < 3; ++c) sheet.caption(columns[c], 110 + c * 84, 3, 80);
  int id = 8024;
  for (int r = 0; r < 14; ++r) {
    const double y = 20 + r * 22;
    sheet.caption(rows[r].name, 4, y + 2, 104, 4 | 32);
    for (int c = 0; c < 3; ++c) {
      auto* e = new NumericEdit(id++, &sheet);
      e->setGeometry(sheet.at(110 + c * 84, y, 76, 18));
      e->setBackgroundSource(&sheet.surface);
      e->setStateColour(EditColour::kNormal, QColor(38, 38, 40));
      e->setStateColour(EditColour::kFocused, QColor(24, 46, 60));
      e->setStateColour(EditColour::kFrame, QColor(22, 22, 24));
      e->setAppearance(qRound(sheet.s(12)), "Arial Bold", TEXT);
      e->setRules(rows[r].rules);
      e->setValue(rows[r].value);
      if (c == 1) focusIn(e->editChild());
      if (c == 2) e->setInteractive(false);
    }
  }
  return sheet.save(dir + QStringLiteral("/edits_x%1.png").arg(scale));
}

// A piece of the main window's top band composed like the window does it.
bool topBand(const QString& dir, double scale) {
  Sheet sheet(QSize(1278, 65), scale);
  sheet.useMainBackground(QRectF(0, 0, 1278, 65));
  auto* title = new SkinLabel(&sheet, 4024);
  title->setGeometry(sheet.at(44, 0, 200, 29));
  title->setBackgroundSource(&sheet.surface);
  title->setTextStyle(qRound(sheet.s(14)), YAHEI, QColor(250, 250, 250, 160), 4 | 32);
  title->setText("ZR-78-USB");
  constexpr ButtonState kPush = ButtonState::kPush;
  struct Top { double x, w, h; int png; const char* text; ButtonState state; };
  const Top tops[] = {{1167, 28, 20, 156, "", kPush},       {1195, 28, 20, 155, "", kPush},
                      {1223, 47, 20, 154, "", kPush},       {1187, 83, 25, 153, "connected", ButtonState::kPressed},
                      {1097, 83, 25, 153, "system", kPush}, {1007, 83, 25, 153, "Mixer", kPush}};
  int id = 3024;
  for (const Top& t : tops) {
    auto* b = new ImageButton(id++, &sheet);
    b->setGeometry(sheet.at(t.x, t.h == 20 ? 0 : 33, t.w, t.h));
    b->setImage(&sheet.surface, t.png);
    b->setFontStyle(sheet.s(14.5), YAHEI, TEXT, Qt::white, 1 | 4 | 32);
    b->setState(t.state);
    b->setText(t.text);
  }
  auto* volume = new SkinLabel(&sheet, 6035);
  volume->setGeometry(sheet.at(18, 33, 96, 24));
  volume->setBackgroundSource(&sheet.surface);
  volume->setTextStyle(qRound(sheet.s(14)), YAHEI, QColor(250, 250, 250, 160), 4 | 32);
  volume->setText("Volume:-20");
  auto* slider = new LevelSlider(6034, &sheet);
  slider->setGeometry(sheet.at(114, 35, 170, 19));
  slider->setRange(-60, 0);
  slider->setBackground(&sheet.surface);
  slider->setTextColour(TEXT);
  slider->setSliderValue(-20);
  auto* selector = new SkinComboBox(16124, &sheet);
  selector->setGeometry(sheet.at(294, 33, 109, 24));
  selector->setTextColour(QColor(250, 250, 250));
  selector->setFontFace(YAHEI);
  selector->setUp(&sheet.surface, png::COMBO_LAYOUT_0 + 3, 3);
  for (const char* item : {"BT", "hi level", "OPT", "USB"}) selector->addItem(item);
  selector->setCurSel(1);
  return sheet.save(dir + QStringLiteral("/top_band_x%1.png").arg(scale));
}

}  // namespace
}  // namespace zr78

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: control_gallery <output folder>\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(dir)) return 1;
  bool ok = true;
  for (double scale : {1.0, 2.0}) {
    for (auto sheet : {zr78::buttons, zr78::faders, zr78::sliders, zr78::combos, zr78::labels,
                       zr78::edits, zr78::topBand}) {
      ok = sheet(dir, scale) && ok;
    }
  }
  return ok ? 0 : 1;
}
