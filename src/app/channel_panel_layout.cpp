// The channel strip on its design canvas: every control's rectangle from
// channel_strip_layout.h, placed with the main window's scale factors, and
// the fonts and colours that follow the scale.
#include <QImage>

#include "app/car_diagram.h"
#include "app/channel_panel.h"
#include "app/number_box_look.h"
#include "controls/control_canvas.h"
#include "controls/fader.h"
#include "controls/image_button.h"
#include "controls/numeric_edit.h"
#include "controls/png_resource.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"

namespace zr78 {

namespace {

const QString kYaHei = QString::fromUtf8("微软雅黑");
const QString kHei = QString::fromUtf8("黑体");
const QColor kButtonText(186, 194, 208);
const QColor kPressedText(255, 255, 255);
const QColor kRoleText(214, 220, 230);
const QColor kLockedRoleText(118, 122, 130);
const QColor kLabelText(150, 156, 168);
constexpr double kButtonFont = 12;
constexpr double kRoleFont = 11.5;
constexpr double kPhaseFont = 11;
constexpr double kLabelFont = 11.5;
constexpr double kBoxFont = 11;
constexpr int kCentred = TEXT_HCENTRE | TEXT_VCENTRE | TEXT_SINGLE_LINE;
constexpr int kLeft = TEXT_VCENTRE | TEXT_SINGLE_LINE;
constexpr int kRight = TEXT_RIGHT | TEXT_VCENTRE | TEXT_SINGLE_LINE;
constexpr int kChannelFaderSkin = 3;
constexpr int kUnitListLayout = 4;
// Labels 11024 + j that stand in the link row or by the unit buttons.
constexpr int kFirstLinkLabel = 1;
constexpr int kFirstUnitLabel = 16;
constexpr int kLinkLeftRightLabel = 19;
constexpr int kOffScreenLabels[] = {0, 13, 14, 15};

}  // namespace

QRect ChannelPanel::placed(const CanvasRect& design) const {
  const CanvasRect r = scale_.place(design);
  return QRect(r.left, r.top, r.width(), r.height());
}

void ChannelPanel::loadArt() {
  if (art_) return;
  art_ = std::make_unique<Art>();
  art_->select = loadPngResource(png::CHANNEL_SELECT);
  art_->role = loadPngResource(png::ROLE_SELECTOR);
  art_->phase = loadPngResource(png::PHASE);
  art_->mute = loadPngResource(png::MUTE);
  art_->chain = loadPngResource(png::DELAY_CHAIN);
  art_->link = loadPngResource(png::LINK);
  art_->radio = loadPngResource(png::RADIO);
  art_->fader = loadPngResource(png::FADER_CHANNEL);
}

void ChannelPanel::setScale(const CanvasScale& scale) {
  if (scale.min < 0.5) return;  // too small to lay out; the last layout stays
  scale_ = scale;
  loadArt();
  layOut();
  styleControls();
  laidOut_ = true;
  update();
}

void ChannelPanel::layOut() {
  const PanelSurface* bg = background_;
  const auto place = [&](ImageButton* b, const CanvasRect& design, const QImage& art) {
    b->setGeometry(placed(design));
    b->setImage(bg, art);
  };
  for (int i = 0; i < kStripColumns; ++i) {
    place(selects_[i], stripRect(StripElement::kChannelSelect, i), art_->select);
    place(roles_[i], stripRect(StripElement::kRoleSelector, i), art_->role);
    roles_[i]->setHoverFrame(1);
    place(phases_[i], stripRect(StripElement::kPhase, i), art_->phase);
    place(mutes_[i], stripRect(StripElement::kMute, i), art_->mute);
    place(chains_[i], stripRect(StripElement::kDelayChain, i), art_->chain);
    place(links_[i], stripRect(StripElement::kLink, i), art_->link);
    gainFaders_[i]->setGeometry(placed(stripRect(StripElement::kGainFader, i)));
    gainFaders_[i]->configure(bg, kChannelFaderSkin, art_->fader);
    gainBoxes_[i]->setGeometry(placed(stripRect(StripElement::kGainBox, i)));
    gainBoxes_[i]->setBackgroundSource(bg);
    delayBoxes_[i]->setGeometry(placed(stripRect(StripElement::kDelayBox, i)));
    delayBoxes_[i]->setBackgroundSource(bg);
    delayLabels_[i]->setGeometry(placed(stripRect(StripElement::kDelayLabel, i)));
    delayLabels_[i]->setBackgroundSource(bg);
    SkinLabel* linkLabel = labels_[kFirstLinkLabel + i];
    linkLabel->setGeometry(placed(stripRect(StripElement::kLinkLabel, i)));
  }
  for (int u = 0; u < kDelayUnitCount; ++u) {
    place(units_[u], delayUnitButtonRect(u), art_->radio);
    labels_[kFirstUnitLabel + u]->setGeometry(placed(delayUnitLabelRect(u)));
  }
  labels_[kLinkLeftRightLabel]->setGeometry(placed(kLinkLeftRightLabelRect));
  place(lock_, kLockRect, art_->select);
  car_->place(bg, [this](const CanvasRect& r) { return placed(r); });

  // The controls nobody sees keep their size far above the panel.
  const QRect away = placed(offScreenRect(40, 20));
  for (SkinLabel* l : labels_) l->setBackgroundSource(bg);
  for (int j : kOffScreenLabels) labels_[j]->setGeometry(away);
  masterFader_->setGeometry(placed(offScreenRect(40, 109)));
  masterFader_->configure(bg, kChannelFaderSkin, art_->fader);
  masterBox_->setGeometry(away);
  masterBox_->setBackgroundSource(bg);
  unitList_->setGeometry(placed(offScreenRect(76, 19)));
  unitList_->setUp(bg, png::COMBO_LAYOUT_0 + kUnitListLayout, kUnitListLayout);
  for (ImageButton* b : {spareButton_, toggle3d_, toggleDbb_}) place(b, offScreenRect(39, 22), art_->phase);
}

void ChannelPanel::styleControls() {
  const double s = scale_.min;
  for (int i = 0; i < kStripColumns; ++i) {
    selects_[i]->setFontStyle(kButtonFont * s, kYaHei, kButtonText, kPressedText, kCentred);
    phases_[i]->setFontStyle(kPhaseFont * s, kYaHei, kButtonText, kPressedText, kCentred);
    for (NumericEdit* box : {gainBoxes_[i], delayBoxes_[i]}) {
      styleNumberBox(*box, kStripNumberBox, qRound(kBoxFont * s), kHei);
    }
    delayLabels_[i]->setTextStyle(qRound(kLabelFont * s), kYaHei, kLabelText, kLeft);
  }
  styleRoleSelectors();
  for (int j = 0; j < kLabelCount; ++j)
    labels_[j]->setTextStyle(qRound(kLabelFont * s), kYaHei, kLabelText,
                             j == kLinkLeftRightLabel ? kRight : kLeft);
  lock_->setFontStyle(kButtonFont * s, kYaHei, kButtonText, kPressedText, kCentred);
  masterBox_->setAppearance(qRound(kBoxFont * s), kHei, kStripNumberBox.text);
}

// A locked selector shows its role dimmed: it cannot be clicked.
void ChannelPanel::styleRoleSelectors() {
  const double s = scale_.min;
  for (ImageButton* r : roles_) {
    const QColor& colour = r->isEnabled() ? kRoleText : kLockedRoleText;
    r->setFontStyle(kRoleFont * s, kYaHei, colour, colour, kCentred);
  }
}

}  // namespace zr78
