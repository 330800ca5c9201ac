// The EQ panel's controls on the design canvas, its texts, its painting and
// its keyboard navigation.
#include "app/eq_panel.h"

#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>

#include <cmath>

#include "app/edit_kinds.h"
#include "app/graph_menu_dialog.h"
#include "app/number_box_look.h"
#include "app/qt_text.h"
#include "app/response_graph.h"
#include "controls/control_canvas.h"
#include "controls/fader.h"
#include "controls/image_button.h"
#include "controls/numeric_edit.h"
#include "controls/panel_surface.h"
#include "controls/png_resource.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "eq/crossover_code.h"
#include "eq/eq_tables.h"
#include "text/graph_menu_texts.h"
#include "text/language.h"
#include "text/message_box.h"
#include "text/shared_texts.h"

namespace zr78 {

namespace {

// ---- the design canvas (panel coordinates, design pixels) -----------------------

struct Box {
  double x, y, w, h;
};
constexpr Box kGraphBox{197, 8, 1067, 213};  // position and size by sx, sy
constexpr double kBandX = 232, kBandPitch = 33.4;
constexpr double kBandRows[4] = {225, 238, 251, 264};  // number, frequency, Q, gain
constexpr double kBandCellW = 31, kBandCellH = 12;
constexpr Box kFader{238, 277, 18, 98};     // + pitch · band
constexpr Box kOnOff{240, 376, 14, 14};     // + pitch · band
constexpr double kHeaderX = 197, kHeaderW = 28, kHeaderH = 12;
constexpr double kColumnW = 76, kRowH = 20, kListH = 19;
// High-pass and low-pass columns: title, "Freq:", field, "Type:", family
// list, "Slope:", slope list. Limiter: title, "DBu:", field, "At.Time:",
// field, "Re.Time:", list.
constexpr double kCrossoverRows[7] = {28, 52, 76, 100, 124, 157, 179};
constexpr double kCrossoverX[2] = {13, 102};
constexpr double kLimiterRows[7] = {220, 244, 268, 292, 316, 340, 364};
constexpr double kLimiterX = 17;
constexpr Box kCommands[3] = {{130, 232, 48, 29}, {130, 282, 48, 29}, {130, 332, 48, 48}};

// ---- looks -----------------------------------------------------------------------

const QColor kText = QColor::fromRgba(0xFFBAC2D0);
const QColor kHighlight = QColor::fromRgba(0xFFFF0000);
const QColor kTitle(0, 168, 232);
const NumberBoxLook kFieldLook{{236, 238, 242}, {52, 51, 54}, {0, 88, 128}, {24, 24, 26}};
const QString kYaHei = QString::fromUtf8("微软雅黑");
const QString kArial = QStringLiteral("Arial");
constexpr double kBandFont = 9, kNumberFont = 11, kHeaderFont = 11;
constexpr double kSectionFont = 12, kTitleFont = 13, kFieldFont = 13, kButtonFont = 13;
constexpr int kCentred = TEXT_HCENTRE | TEXT_VCENTRE | TEXT_SINGLE_LINE;
constexpr int kLeft = TEXT_VCENTRE | TEXT_SINGLE_LINE;
constexpr int kComboLayout = 4;  // 76 × 19, a light skin for the default dark text
constexpr double kListTextHeight = 13;

constexpr TextId kSectionTexts[12] = {kTextHighPass, kTextFreqLabel,       kTextTypeLabel,
                                      kTextSlopeLabel, kTextLowPass,       kTextFreqLabel,
                                      kTextTypeLabel,  kTextSlopeLabel,    kTextLimiter,
                                      kTextDbuLabel,   kTextAttackTimeLabel, kTextReleaseTimeLabel};
constexpr TextId kHeaderTexts[4] = {kTextColumnNo, kTextColumnFreq, kTextColumnQ, kTextColumnGain};
constexpr TextId kFamilyTexts[kCrossoverFamilyCount] = {kTextButterworth, kTextBessel,
                                                        kTextLinkwitzRiley};
constexpr int kFamilyLists[2] = {0, 2};

bool isTitle(int section) { return section == 0 || section == 4 || section == 8; }

// The band switch's strip with its first two frames swapped: the button is
// released while its band is on, and the lit frame should show that.
QImage bandSwitchStrip() {
  const QImage strip = loadPngResource(png::BAND_SWITCH);
  const int frames = declaredFrameCount(strip);
  if (strip.isNull() || frames < 2) return strip;
  QImage swapped = strip.copy();
  swapped.setDevicePixelRatio(1);  // paint in the strip's own pixels
  const int w = strip.width() / frames;
  {
    QPainter p(&swapped);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRect(0, 0, w, strip.height()), strip, QRect(w, 0, w, strip.height()));
    p.drawImage(QRect(w, 0, w, strip.height()), strip, QRect(0, 0, w, strip.height()));
  }
  swapped.setDevicePixelRatio(strip.devicePixelRatio());
  swapped.setText(QString::fromLatin1(PNG_KEY_FRAMES), QString::number(frames));
  return swapped;
}

}  // namespace

EqPanel::EqPanel(const EqPanelParts& parts, QWidget* parent)
    : QWidget(parent),
      table_(parts.table),
      language_(parts.language),
      messages_(parts.messages),
      background_(parts.background) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  createControls();
  buildMessageTable();
  savedGains_.fill(0);
  lastEdited_ = 0;
}

void EqPanel::createControls() {
  graph_ = new ResponseGraph(kGraphId, this);
  for (int b = 0; b < kBandCount; ++b) {
    numbers_[b] = new SkinLabel(this);
    frequency_[b] = new NumericEdit(kBandFrequencyId + b, this);
    q_[b] = new NumericEdit(kBandQId + b, this);
    gain_[b] = new NumericEdit(kBandGainId + b, this);
    faders_[b] = new Fader(kFaderId + b, this);
    onOff_[b] = new ImageButton(kOnOffId + b, this);
  }
  for (SkinLabel*& h : headers_) h = new SkinLabel(this);
  for (int i = 0; i < 3; ++i) commands_[i] = new ImageButton(kResetId + i, this);
  for (SkinLabel*& s : sections_) s = new SkinLabel(this);
  for (int i = 0; i < 4; ++i) fields_[i] = new NumericEdit(kCrossoverFieldId + i, this);
  for (int i = 0; i < 5; ++i) lists_[i] = new SkinComboBox(kListId + i, this);
  setUpControls();
}

// What does not follow the size: ranges, rules, artwork, lists, initial values.
void EqPanel::setUpControls() {
  bandSwitch_ = bandSwitchStrip();
  graph_->setBackgroundSource(background_);
  graph_->configureAsEqPanel(1.0);
  graph_->addMenuItem(
      [this] { return qtText(windowText(GraphMenuText::kSavePicture, language_.get())); },
      [this] { saveGraphPicture(); });
  for (int b = 0; b < kBandCount; ++b) {
    const double defaultHz = DEFAULT_BAND_FREQUENCIES[b];
    numbers_[b]->setBackgroundSource(background_);
    numbers_[b]->setText(QString::number(b + 1));
    frequency_[b]->setRules(frequencyEdit("%0.0f", 20, 20000));
    q_[b]->setRules(qEdit());
    gain_[b]->setRules(bandGainEdit());
    for (NumericEdit* e : {frequency_[b], q_[b], gain_[b]}) {
      e->setBackgroundSource(background_);
      e->setNotificationValue(b);
      e->editChild()->installEventFilter(this);
    }
    frequency_[b]->setValueFromNumber(defaultHz);
    q_[b]->setValueFromNumber(7.6);
    gain_[b]->setValueFromNumber(0);
    Fader* f = faders_[b];
    f->configure(background_, 0, png::FADER_EQ);
    f->setRange(-200, 200);
    f->setScale(10);
    f->setIndex(b);
    f->setValue(0);
    onOff_[b]->setIndex(b);
    onOff_[b]->setText(QString());
    onOff_[b]->setState(ButtonState::kPressed);
    graph_->setBandGain(0, b, 0);
    graph_->setBandFrequency(defaultHz, b, 0);
    graph_->setBandQ(7.6, b, 0);
  }
  graph_->setCrossoverFrequency(0, 0, Crossover::kHighPass);
  graph_->setCrossoverFrequency(20000, 0, Crossover::kLowPass);
  for (SkinLabel* h : headers_) h->setBackgroundSource(background_);
  for (SkinLabel* s : sections_) s->setBackgroundSource(background_);
  for (int i = 0; i < 3; ++i) commands_[i]->setIndex(i);
  commands_[0]->setState(ButtonState::kPush);
  commands_[1]->setState(ButtonState::kPressed);   // all gains 0: bypassed
  commands_[2]->setState(ButtonState::kReleased);  // GEQ
  fields_[0]->setRules(frequencyEdit("%0.0fHz", 19, 20000));
  fields_[1]->setRules(frequencyEdit("%0.0fHz", 19, 20000));
  fields_[2]->setRules(thresholdEdit());
  fields_[3]->setRules(attackEdit());
  fields_[0]->setValueFromNumber(0);
  fields_[1]->setValueFromNumber(20000);
  fields_[2]->setValueFromNumber(-30);
  fields_[3]->setValueFromNumber(0.3);
  for (NumericEdit* f : fields_) {
    f->setBackgroundSource(background_);
    f->editChild()->installEventFilter(this);
  }
  for (int i = 0; i < 5; ++i) {
    SkinComboBox* l = lists_[i];
    l->setNotificationValue(i);
    l->setFontFace(kArial);
    l->setFaceTextHeight(kListTextHeight);
    l->setUp(background_, png::COMBO_LAYOUT_0 + kComboLayout, kComboLayout);
    l->installEventFilter(this);
  }
  for (int i : {1, 3})
    for (int s = 0; s < kCrossoverSlopeCount; ++s) lists_[i]->addItem(qtText(crossoverSlopeText(s)));
  for (int r = 0; r < kReleaseEntryCount; ++r) lists_[4]->addItem(qtText(releaseText(r)));
  setBandFieldsReadOnly(true);  // GEQ at creation
  refreshTexts();
  for (SkinComboBox* l : lists_) {
    l->setCurrentIndex(0);
    l->setCurSel(0);
  }
}

void EqPanel::setScale(double sx, double sy, double sz) {
  sx_ = sx;
  sy_ = sy;
  sz_ = sz;
  if (sz_ > 0.5) layOut();
}

void EqPanel::layOut() {
  const auto place = [&](double x, double y, double w, double h) {
    return QRect(static_cast<int>(x * sx_), static_cast<int>(y * sy_), static_cast<int>(w * sz_),
                 static_cast<int>(h * sz_));
  };
  const auto font = [&](double size) { return static_cast<int>(std::lround(size * sz_)); };
  graph_->setGeometry(static_cast<int>(kGraphBox.x * sx_), static_cast<int>(kGraphBox.y * sy_),
                      static_cast<int>(kGraphBox.w * sx_), static_cast<int>(kGraphBox.h * sy_));
  graph_->setScale(sy_);
  for (int b = 0; b < kBandCount; ++b) {
    const double x = kBandX + kBandPitch * b;
    numbers_[b]->setGeometry(place(x, kBandRows[0], kBandCellW, kBandCellH));
    styleBandNumber(b);
    NumericEdit* row[3] = {frequency_[b], q_[b], gain_[b]};
    for (int r = 0; r < 3; ++r) {
      row[r]->setGeometry(place(x, kBandRows[r + 1], kBandCellW, kBandCellH));
      styleNumberBox(*row[r], kFieldLook, font(kBandFont), kArial);
      // Five digits ("20000") need the line edit's own side margins.
      row[r]->editChild()->setTextMargins(-2, 0, -2, 0);
    }
    faders_[b]->setGeometry(place(kFader.x + kBandPitch * b, kFader.y, kFader.w, kFader.h));
    onOff_[b]->setGeometry(place(kOnOff.x + kBandPitch * b, kOnOff.y, kOnOff.w, kOnOff.h));
    onOff_[b]->setImage(background_, bandSwitch_);
  }
  for (int i = 0; i < 4; ++i) {
    headers_[i]->setGeometry(place(kHeaderX, kBandRows[i], kHeaderW, kHeaderH));
    headers_[i]->setTextStyle(font(kHeaderFont), kYaHei, kText, kLeft);
  }
  for (int i = 0; i < 3; ++i) {
    const Box& c = kCommands[i];
    commands_[i]->setGeometry(place(c.x, c.y, c.w, c.h));
    commands_[i]->setImage(background_, png::COMMAND_BUTTON);
    commands_[i]->setFontStyle(kButtonFont * sz_, kYaHei, kText, Qt::white,
                               TEXT_HCENTRE | TEXT_VCENTRE);
  }
  // Sections 0..3 and 4..7: the two crossover columns' labels at rows 0, 1,
  // 3, 5; 8..11 the limiter's at rows 0, 1, 3, 5.
  constexpr int kLabelRows[4] = {0, 1, 3, 5};
  for (int s = 0; s < 12; ++s) {
    const int column = s / 4;
    const double x = column < 2 ? kCrossoverX[column] : kLimiterX;
    const double y = (column < 2 ? kCrossoverRows : kLimiterRows)[kLabelRows[s % 4]];
    sections_[s]->setGeometry(place(x, y, kColumnW, kRowH));
    sections_[s]->setTextStyle(font(isTitle(s) ? kTitleFont : kSectionFont), kYaHei,
                               isTitle(s) ? kTitle : kText, kLeft);
    sections_[s]->setFontStyleBits(isTitle(s) ? 1 : 0);
  }
  for (int c = 0; c < 2; ++c) {
    fields_[c]->setGeometry(place(kCrossoverX[c], kCrossoverRows[2], kColumnW, kRowH));
    lists_[2 * c]->setGeometry(place(kCrossoverX[c], kCrossoverRows[4], kColumnW, kListH));
    lists_[2 * c + 1]->setGeometry(place(kCrossoverX[c], kCrossoverRows[6], kColumnW, kListH));
  }
  fields_[2]->setGeometry(place(kLimiterX, kLimiterRows[2], kColumnW, kRowH));
  fields_[3]->setGeometry(place(kLimiterX, kLimiterRows[4], kColumnW, kRowH));
  lists_[4]->setGeometry(place(kLimiterX, kLimiterRows[6], kColumnW, kListH));
  for (NumericEdit* f : fields_) {
    styleNumberBox(*f, kFieldLook, font(kFieldFont), kArial);
  }
  for (SkinComboBox* l : lists_) l->setMaxVisibleItems(kCrossoverSlopeCount);
  setUp_ = true;
  update();
}

void EqPanel::styleBandNumber(int band) {
  numbers_[band]->setTextStyle(static_cast<int>(std::lround(kNumberFont * sz_)), kArial,
                               band == highlighted_ ? kHighlight : kText, kCentred);
}

// GEQ mode: the frequency and Q fields show their values but take no focus,
// clicks, wheel or keys.
void EqPanel::setBandFieldsReadOnly(bool readOnly) {
  for (int b = 0; b < kBandCount; ++b) {
    for (NumericEdit* e : {frequency_[b], q_[b]}) {
      e->setInteractive(!readOnly);
      e->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
      e->editChild()->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
      e->editChild()->setAttribute(Qt::WA_TransparentForMouseEvents, readOnly);
      if (readOnly && e->editChild()->hasFocus()) setFocus();
    }
  }
}

bool EqPanel::geqMode() const { return commands_[2]->state() != ButtonState::kPressed; }

// ---- texts -------------------------------------------------------------------------

void EqPanel::refreshText(int item) {
  const Language language = language_.get();
  const auto text = [&](TextId id) {
    return qtText(sharedText(id, language)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  };
  const auto refillFamily = [&](SkinComboBox* list) {
    const int selected = list->curSel(), displayed = list->displayedIndex();
    const QSignalBlocker quiet(list);
    list->clear();
    for (TextId t : kFamilyTexts) list->addItem(text(t));
    list->setCurrentIndex(selected >= 0 && selected < list->count() ? selected : 0);
    list->setCurSel(displayed);
  };
  if (item >= 103 && item <= 114) {
    const int s = item - 103;
    sections_[s]->setText(text(kSectionTexts[s]));
    if (item == 105) refillFamily(lists_[kFamilyLists[0]]);
    if (item == 109) refillFamily(lists_[kFamilyLists[1]]);
  } else if (item == 115) {
    commands_[0]->setText(text(kTextReset));
  } else if (item == 116) {
    commands_[1]->setText(text(kTextBypass));
  } else if (item == 117) {
    commands_[2]->setText(text(geqMode() ? kTextGeq : kTextPeq));
  } else if (item == 118) {
    for (int i = 0; i < 4; ++i) headers_[i]->setText(text(kHeaderTexts[i]));
  }
}

void EqPanel::refreshTexts() {
  for (int item = kFirstTextItem; item <= kLastTextItem; ++item) refreshText(item);
}

// ---- painting ----------------------------------------------------------------------

// The panel's part of the window's surface; every child paints its own
// picture over it from its cache, so nothing is erased and nothing flickers.
void EqPanel::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  paintSurfaceUnder(p, background_, this, e->region());
}

// ---- keyboard navigation --------------------------------------------------------------

bool EqPanel::navigable(int param) const {
  using namespace EqParamIndex;
  if (param < kBandGain && geqMode()) return false;  // frequency and Q fields read-only
  return param >= 0 && param < kCount;
}

QWidget* EqPanel::controlOf(int param) const {
  using namespace EqParamIndex;
  if (param < kBandQ) return frequency_[param];
  if (param < kBandGain) return q_[param - kBandQ];
  if (param < kHighPassFrequency) return gain_[param - kBandGain];
  switch (param) {
    case kHighPassFrequency: return fields_[0];
    case kHighPassCode: return lists_[0];
    case kHighPassSlope: return lists_[1];
    case kLowPassFrequency: return fields_[1];
    case kLowPassCode: return lists_[2];
    case kLowPassSlope: return lists_[3];
    case kLimiterThreshold: return fields_[2];
    case kLimiterAttack: return fields_[3];
    case kLimiterRelease: return lists_[4];
    default: return nullptr;
  }
}

// Tab and Right go to the next field in EqParamIndex order, Left to the
// previous; past either end the index wraps and the focus stays.
void EqPanel::navigate(int step) {
  int param = lastEdited_ + step;
  while (param >= 0 && param < EqParamIndex::kCount && !navigable(param)) param += step;
  if (param < 0) {
    lastEdited_ = EqParamIndex::kCount - 1;
    return;
  }
  if (param >= EqParamIndex::kCount) {
    lastEdited_ = 0;
    return;
  }
  lastEdited_ = param;
  if (QWidget* target = controlOf(param)) target->setFocus(Qt::TabFocusReason);
}

bool EqPanel::focusNextPrevChild(bool next) {
  navigate(next ? 1 : -1);
  return true;
}

bool EqPanel::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Right || key == Qt::Key_Left) {
      navigate(key == Qt::Key_Right ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void EqPanel::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Right || e->key() == Qt::Key_Left)
    return navigate(e->key() == Qt::Key_Right ? 1 : -1);
  QWidget::keyPressEvent(e);
}

// ---- the graph's picture ------------------------------------------------------------

void EqPanel::saveGraphPicture() {
  const Language language = language_.get();
  const QString title = graphMenuDialogTitle(GraphMenuText::kSavePicture, language);
  const QString suggested =
      QDir(QDir::homePath()).filePath(QStringLiteral("CH%1-EQ.png").arg(current_ + 1));
  QString path = QFileDialog::getSaveFileName(
      this, title, suggested, qtText(windowText(GraphMenuText::kPictureFilter, language)));
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) path += QStringLiteral(".png");
  if (!graph_->picture().save(path, "PNG"))
    messages_.showMessage(std::string(sharedText(kTextSaveFailed, language)), std::string(),
                          MessageButtons::Ok);
}

}  // namespace zr78
