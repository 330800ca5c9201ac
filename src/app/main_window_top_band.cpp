// The top band's behaviour: window buttons, link pause, the navigation
// buttons, the master volume, the input selector and the language refresh.
#include "app/eq_panel.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/qt_translations.h"
#include "channels/route_word.h"
#include "controls/image_button.h"
#include "controls/skin_label.h"
#include "controls/level_slider.h"
#include "controls/skin_combo_box.h"
#include "controls/window_messages.h"
#include "sync/link_events.h"
#include "sync/sync_worker.h"
#include "link/link_state.h"
#include "registers/register_table.h"
#include "text/language.h"
#include "text/shared_texts.h"

namespace zr78 {

namespace {

// Buttons whose label follows the language (the status button has its own rule).
constexpr int kLabelledButtons[] = {
    kButtonMem, kButtonSystem, kButtonMixer, kButtonDeviceKind, 8, 9, 10};
// The selector's items: entries of the language table, then fixed texts.
constexpr TextId kSelectorTextItems[] = {kTextBluetooth, kTextHiLevel};
constexpr const char* kSelectorFixedItems[] = {"OPT", "USB"};

}  // namespace

qintptr MainWindow::onTopButton(int j) {
  switch (j) {
    case kButtonMinimise:
      showMinimized();
      break;
    case kButtonMaximise:
      isMaximized() ? showNormal() : showMaximized();
      break;
    case kButtonClose:
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
      break;
    case kButtonStatus:
      onStatusButton();
      break;
    case kButtonSystem:
      if (runSystemDialog_) runSystemDialog_();
      break;
    case kButtonMixer:
      onMixerButton();
      break;
    default:
      break;
  }
  return 0;
}

// Pause, or end the pause: the worker then connects again and reads
// everything.
void MainWindow::onStatusButton() {
  if (!parts_.worker.paused()) {
    parts_.worker.pause();
    shownStatus_ = LinkStatusShown::Unconnected;
    buttons_[kButtonStatus]->setText(qtText(linkStatusText(shownStatus_, parts_.language.get())));
    return;
  }
  parts_.worker.resume();  // never skips the fresh connection
}

void MainWindow::onMixerButton() {
  const int32_t source = parts_.table.getRegister(kInputSourceRegister);
  const int32_t config = parts_.table.getRegister(kDeviceConfigurationRegister);
  if (routingAvailable(config, source)) {
    if (runRoutingDialog_) runRoutingDialog_();
  } else {
    showMessage(kTextRoutingUnavailable);
  }
  for (int a = kFirstRouteRegister; a <= kLastRouteRegister; ++a) notifyRegister(a);
}

QString MainWindow::volumeText(double db) const {
  return qtText(volumeCaption(db, parts_.language.get()));
}

void MainWindow::onVolumeSlider() {
  const double db = slider_->sliderValue();
  volumeLabel_->setText(volumeText(db));
  const int32_t word = volumeWord(db);
  for (int a = kFirstVolumeRegister; a <= kLastVolumeRegister; ++a)
    parts_.table.setRegister(a, word);
}

void MainWindow::applyVolume(int address) {
  const int db = volumeFromWord(parts_.table.getRegister(address));
  slider_->setSliderValue(db);
  volumeLabel_->setText(volumeText(db));
}

// Only the input selector (16124) acts, and only on its own notification value.
void MainWindow::onSelectorChanged(int selector, qintptr lParam) {
  if (selector != 0 || lParam != 0) return;
  const InputSourceChange change = changeInputSource(
      parts_.table, selector_->curSel(), [this](int address) { notifyRegister(address); });
  setButtonVisible(kButtonMixer, false);
  mixerTimer_.start(mixerTiming_.hiddenMs);
  if (change.noUsb) showMessage(kTextNoUsbConnection);
}

// Timer 122: ask for the matrix the device rebuilt, then offer "Mixer" again.
void MainWindow::onMixerTimer() {
  mixerTimerExpired(parts_.table);
  QTimer::singleShot(mixerTiming_.showDelayMs, this, [this] {
    if (!shutDown_) setButtonVisible(kButtonMixer, true);
  });
}

void MainWindow::applyInputSource(int) {
  const std::optional<int> item = zr78::applyInputSource(parts_.table);
  selector_->setCurSel(item.value_or(-1));
  if (!item)
    selector_->setCurrentIndex(-1);
  else
    selector_->setCurrentIndex(*item);
}

void MainWindow::applyDeviceKind(int address) {
  const bool amplifier = parts_.table.getRegister(address) == 1;
  buttons_[kButtonDeviceKind]->setState(amplifier ? ButtonState::kPressed : ButtonState::kReleased);
  refreshLanguage();
}

void MainWindow::refreshLanguage() {
  const Language language = parts_.language.get();
  parts_.translations.use(language);

  buttons_[kButtonStatus]->setText(qtText(linkStatusText(shownStatus_, language)));
  volumeLabel_->setText(volumeText(slider_->sliderValue()));
  for (int j : kLabelledButtons) {
    const bool pressed = buttons_[j]->state() == ButtonState::kPressed;
    buttons_[j]->setText(qtText(topButtonText(j, language, pressed)));
  }
  refillSelector();
  refreshChannelPanelTexts();  // channel strip
  eqPanel_->refreshTexts();
}

void MainWindow::refillSelector() {
  const Language language = parts_.language.get();
  const int selected = selector_->curSel();
  const int displayed = selector_->displayedIndex();
  const QSignalBlocker quiet(selector_);
  selector_->clear();
  for (TextId entry : kSelectorTextItems) selector_->addItem(qtText(sharedText(entry, language)));
  for (const char* item : kSelectorFixedItems) selector_->addItem(QString::fromLatin1(item));
  selector_->setCurrentIndex(selected >= 0 && selected < selector_->count() ? selected : 0);
  selector_->setCurSel(displayed);
}

}  // namespace zr78
