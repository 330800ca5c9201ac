// The main window on its design canvas: every control's rectangle from the
// tables of main_layout.h and the three scale factors of the client size.
#include <QString>

#include "app/main_window.h"
#include "controls/control_canvas.h"
#include "controls/image_button.h"
#include "controls/skin_label.h"
#include "controls/level_slider.h"
#include "controls/png_resource.h"
#include "controls/skin_combo_box.h"

namespace zr78 {

namespace {

const QString kYaHei = QString::fromUtf8("微软雅黑");
const QColor kNavigationText(186, 194, 208, 255);
const QColor kWindowButtonText(250, 250, 250, 200);
const QColor kWindowButtonPressed(0, 0, 0, 200);
const QColor kLabelText(250, 250, 250, 120);
const QColor kSelectorText(250, 250, 250);
const QColor kSliderText(186, 194, 208, 255);
constexpr double kLargeButtonFont = 14.5;
constexpr double kSmallButtonFont = 12;
constexpr double kLabelFont = 14;
constexpr int kSelectorSkinLayout = 3;
constexpr int kButtonTextFormat = TEXT_HCENTRE | TEXT_VCENTRE | TEXT_SINGLE_LINE;
constexpr int kLabelFormat = TEXT_VCENTRE | TEXT_SINGLE_LINE;

QRect toQRect(const CanvasRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

}  // namespace

QRect MainWindow::placed(const CanvasRect& design) const { return toQRect(scale_.place(design)); }

// The controls' artwork and the parts of their look that do not follow the size.
void MainWindow::setUpControls() {
  for (int j = 0; j < kTopButtonCount; ++j) buttonArt_[j] = loadPngResource(kTopButtons[j].image);
  slider_->setRange(kVolumeMinDb, kVolumeMaxDb);
  slider_->setFineBelow(kVolumeMinDb);
  slider_->setIndex(0);
  slider_->setTextColour(kSliderText);
  slider_->setBackground(&background_);
  slider_->setSliderValue(kVolumeMinDb);
  selector_->setTextColour(kSelectorText);
  selector_->setFontFace(kYaHei);
  selector_->setNotificationValue(0);
  selector_->setUp(&background_, png::COMBO_LAYOUT_0 + kSelectorSkinLayout, kSelectorSkinLayout);
  title_->setBackgroundSource(&background_);
  volumeLabel_->setBackgroundSource(&background_);
  volumeLabel_->setText(volumeText(kVolumeMinDb));
  controlsSetUp_ = true;
}

void MainWindow::relayout() {
  if (!backgroundReady_) return;
  if (!controlsSetUp_) setUpControls();
  scale_ = CanvasScale::forClient(width(), height());
  background_.create(this);
  background_.stretchIn(backgroundArt_, rect(), QRectF(0, 0, kDesignWidth, kDesignHeight));

  placeTopButtons();
  title_->setGeometry(placed(kTitleRect));
  title_->setTextStyle(qRound(scale_.font(kLabelFont)), kYaHei, kLabelText, kLabelFormat);
  placeVolumeRow();
  eqPanelRect_ = placed(kEqPanelRect);
  channelPanelRect_ = placed(kChannelPanelRect);
  placeChannelPanel();  // channel strip
  placeEqPanel();
  update();
}

void MainWindow::placeTopButtons() {
  const auto rects = topButtonDesignRects(buttonVisible_);
  for (int j = 0; j < kTopButtonCount; ++j) {
    ImageButton* b = buttons_[j];
    QRect r = placed(rects[j]);
    if (!buttonVisible_[j]) r.moveLeft(kHiddenX);
    b->setGeometry(r);
    b->setImage(&background_, buttonArt_[j]);
    styleTopButton(j);
    b->setVisible(buttonVisible_[j]);
  }
}

void MainWindow::styleTopButton(int j) {
  if (kTopButtons[j].largeFont) {
    buttons_[j]->setFontStyle(scale_.font(kLargeButtonFont), kYaHei, kNavigationText,
                              kNavigationText, kButtonTextFormat);
  } else {
    buttons_[j]->setFontStyle(scale_.font(kSmallButtonFont), kYaHei, kWindowButtonText,
                              kWindowButtonPressed, kButtonTextFormat);
  }
}

void MainWindow::placeVolumeRow() {
  const VolumeRowLayout row = layoutVolumeRow(scale_);
  volumeLabel_->setGeometry(toQRect(row.label));
  volumeLabel_->setTextStyle(qRound(scale_.font(kLabelFont)), kYaHei, kLabelText, kLabelFormat);
  slider_->setGeometry(toQRect(row.slider));
  selector_->setGeometry(toQRect(row.selector));
  selector_->setMaxVisibleItems(kInputSelectorItemCount);
}

void MainWindow::setButtonVisible(int j, bool visible) {
  if (buttonVisible_[j] == visible) return;
  buttonVisible_[j] = visible;
  if (backgroundReady_) placeTopButtons();
}

}  // namespace zr78
