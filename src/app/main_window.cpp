#include "app/main_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "app/about_dialog.h"
#include "app/eq_panel.h"
#include "app/progress_window.h"
#include "app/qt_text.h"
#include "app/ui_link_events.h"
#include "channels/link_groups.h"
#include "controls/image_button.h"
#include "controls/skin_label.h"
#include "controls/level_slider.h"
#include "controls/png_resource.h"
#include "controls/skin_combo_box.h"
#include "controls/window_messages.h"
#include "sync/link_events.h"
#include "link/link_state.h"
#include "registers/register_table.h"
#include "sync/sync_worker.h"
#include "text/language.h"
#include "text/shared_texts.h"

namespace zr78 {

namespace {

constexpr int kTitleLabelId = 4024;
constexpr int kVolumeLabelId = 6035;
constexpr int kSelectorCount = 4;  // messages 16124 .. 16127
constexpr int kEqPanelCodes = 12;  // MSG_PANEL_EDIT wParam below this: EQ channel
constexpr int kChannelPanelCode = 20;
constexpr int kMaxEqChannel = 8;
constexpr const char* kLinkSuffix = "-USB";  // the link is USB

// The program's icon: the logo of the background's title band, square.
constexpr QRectF kLogoRect{11.5, 0, 33, 33};

QImage programIcon(const QImage& background) {
  const qreal dpr = background.devicePixelRatio();
  const QRect pixels(qRound(kLogoRect.x() * dpr), qRound(kLogoRect.y() * dpr),
                     qRound(kLogoRect.width() * dpr), qRound(kLogoRect.height() * dpr));
  QImage icon = background.copy(pixels);
  icon.setDevicePixelRatio(1);
  return icon;
}

}  // namespace

MainWindow::MainWindow(const MainWindowParts& parts, MixerTiming mixerTiming)
    : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint),
      parts_(parts),
      mixerTiming_(mixerTiming),
      messageBox_(this) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  background_.setOwner(this);
  for (int j = 0; j < kTopButtonCount; ++j) buttonVisible_[j] = kTopButtons[j].visible;
  createControls();
  createEqPanel();
  buildMessageTable();
  buildRegisterRoutes();
  createChannelPanel();  // channel strip
  mixerTimer_.setSingleShot(true);
  connect(&mixerTimer_, &QTimer::timeout, this, &MainWindow::onMixerTimer);
}

MainWindow::~MainWindow() {
  if (!shutDown_) {
    parts_.events.beginStopping();
    parts_.worker.stopLink();
  }
}

void MainWindow::createControls() {
  for (int j = 0; j < kTopButtonCount; ++j) {
    auto* b = new ImageButton(MSG_TOP_BUTTON + j, this);
    b->setIndex(j);
    b->setText(QStringLiteral(" "));
    buttons_[j] = b;
  }
  // The status button latches: released while connecting, pressed when connected.
  buttons_[kButtonStatus]->setState(ButtonState::kReleased);
  buttons_[kButtonDeviceKind]->setState(ButtonState::kReleased);
  title_ = new SkinLabel(this, kTitleLabelId);
  selector_ = new SkinComboBox(MSG_SELECTOR_CHANGED, this);
  slider_ = new LevelSlider(MSG_SLIDER_CHANGED, this);
  volumeLabel_ = new SkinLabel(this, kVolumeLabelId);
  progress_ = new ProgressWindow(this);
  progress_->hide();
}

void MainWindow::buildMessageTable() {
  messagesTable_.on(MSG_DEVICE_NOTIFY, [this](const WindowMessage& m) { return onDeviceNotify(m); })
      .onRange(MSG_TOP_BUTTON, MSG_TOP_BUTTON + MSG_TOP_BUTTON_COUNT - 1,
               [this](const WindowMessage& m) { return onTopButton(static_cast<int>(m.lParam())); })
      .on(MSG_SLIDER_CHANGED,
          [this](const WindowMessage& m) {
            if (m.wParam() == 0) onVolumeSlider();
            return qintptr{0};
          })
      .onRange(MSG_SELECTOR_CHANGED, MSG_SELECTOR_CHANGED + kSelectorCount - 1,
               [this](const WindowMessage& m) {
                 onSelectorChanged(m.message() - MSG_SELECTOR_CHANGED, m.lParam());
                 return qintptr{0};
               })
      .on(MSG_EQ_SHOW_CHANNEL,
          [this](const WindowMessage& m) {
            if (m.lParam() >= 0 && m.lParam() <= kMaxEqChannel)
              eqChannel_ = static_cast<int>(m.lParam());
            eqPanel_->reload(static_cast<int>(m.lParam()));
            return qintptr{0};
          })
      .on(MSG_LINK_RESYNC,
          [this](const WindowMessage& m) {
            resync(parts_.table, parts_.groups, static_cast<int>(m.lParam()),
                   [this](int address) { notifyRegister(address); });
            return qintptr{0};
          })
      .on(MSG_PANEL_EDIT,
          [this](const WindowMessage& m) {
            const int panel = static_cast<int>(m.wParam());
            const int control = static_cast<int>(m.lParam());
            if (panel >= 0 && panel < kEqPanelCodes && eqPanelEdit_)
              eqPanelEdit_(panel, control);
            else if (panel == kChannelPanelCode && channelPanelEdit_)
              channelPanelEdit_(panel, control);
            return qintptr{0};
          })
      .on(MSG_LANGUAGE_REFRESH, [this](const WindowMessage&) {
        refreshLanguage();
        return qintptr{0};
      });
}

// The views the top band owns; the panels add theirs when they arrive.
void MainWindow::buildRegisterRoutes() {
  routes_.add(kFirstVolumeRegister, [this](int a) { applyVolume(a); });
  routes_.add(kInputSourceRegister, [this](int a) { applyInputSource(a); });
  routes_.add(kDbbSwitchRegister, [this](int a) { applyDeviceKind(a); });
  addEqRoutes();
}

bool MainWindow::event(QEvent* e) { return messagesTable_.dispatch(e) || QDialog::event(e); }

void MainWindow::initDialog() {
  setWindowTitle(QString::fromLatin1(kProgramModel));
  backgroundArt_ = loadPngResource(png::MAIN_BACKGROUND);
  backgroundReady_ = !backgroundArt_.isNull();
  if (backgroundReady_) setWindowIcon(QIcon(QPixmap::fromImage(programIcon(backgroundArt_))));
  const int language = languageIndex(parts_.language.get());
  postMessage(this, MSG_LANGUAGE_REFRESH, language, language);
  parts_.events.attach(this, &messageBox_, progress_);
  parts_.worker.startLink();
  setGeometry(0, 0, kDesignWidth, kDesignHeight);
  relayout();
  postMessage(this, MSG_EQ_SHOW_CHANNEL, 0, 0);
  for (int a = kFirstSpeakerRoleRegister; a <= kLastSpeakerRoleRegister; ++a) notifyRegister(a);
  parts_.table.setRegisterQuiet(kInputSourceRegister, 0);
  notifyRegister(kInputSourceRegister);
}

// ---------------------------------------------------------------------------
// Device notifications

qintptr MainWindow::onDeviceNotify(const WindowMessage& m) {
  switch (m.wParam()) {
    case kNotifyRegister:
      applyFromDevice(static_cast<int>(m.lParam()));
      break;
    case kNotifyLinkStatus:
      showLinkStatus(static_cast<LinkStatus>(m.lParam()));
      break;
    case kNotifyShowDone:
      ++displayRefreshes_;
      break;
    default:
      break;  // 1 and 8 end an operation; nothing to show
  }
  return 0;
}

// A value from the device reaches its views with dirty marking off, so a
// view reacting to the programmatic change cannot send it back.
void MainWindow::applyFromDevice(int address) {
  parts_.table.setDirtyMarking(false);
  routes_.route(address);
  parts_.table.setDirtyMarking(true);
}

void MainWindow::showLinkStatus(LinkStatus status) {
  shownStatus_ = linkStatusShown(status);
  buttons_[kButtonStatus]->setState(shownStatus_ == LinkStatusShown::Connected
                                        ? ButtonState::kPressed
                                        : ButtonState::kReleased);
  buttons_[kButtonStatus]->setText(qtText(linkStatusText(shownStatus_, parts_.language.get())));
  title_->setText(QString::fromLatin1(kProgramModel) + QString::fromLatin1(kLinkSuffix));
}

void MainWindow::notifyRegister(int address) {
  postMessage(this, MSG_DEVICE_NOTIFY, kNotifyRegister, address);
}

void MainWindow::showMessage(TextId textEntry, std::optional<TextId> captionEntry) {
  const Language language = parts_.language.get();
  const std::string caption =
      captionEntry ? std::string(sharedText(*captionEntry, language)) : std::string();
  messageBox_.showMessage(std::string(sharedText(textEntry, language)), caption, MessageButtons::Ok);
}

// ---------------------------------------------------------------------------
// Window events

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!backgroundReady_ || background_.image().isNull()) {
    p.fillRect(rect(), QColor(43, 44, 47));
    return;
  }
  p.drawImage(QPoint(0, 0), background_.image());
}

void MainWindow::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  relayout();
}

void MainWindow::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QDialog::mousePressEvent(e);
  const QPoint at = e->position().toPoint();
  if (at.x() <= kAboutCorner && at.y() <= kAboutCorner) {
    messageBox_.showMessage(utf8Text(aboutText(parts_.language.get())),
                            utf8Text(aboutCaption(parts_.language.get())), MessageButtons::Ok);
    return;
  }
  if (at.y() < kDragBandHeight * scale_.y && !isMaximized()) {
    setCursor(Qt::PointingHandCursor);
    drag_.begin(this, e->globalPosition());
  }
  QDialog::mousePressEvent(e);
}

void MainWindow::mouseMoveEvent(QMouseEvent* e) {
  drag_.follow(this, e->globalPosition());
  QDialog::mouseMoveEvent(e);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (drag_.following()) unsetCursor();
  drag_.end();
  QDialog::mouseReleaseEvent(e);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* e) {
  if (e->pos().y() >= kDragBandHeight * scale_.y) return;
  QMenu menu(this);
  menu.addAction(QString::fromLatin1(kAboutMenuText), this,
                 [this] { systemCommand(kSystemCommandAbout); });
  menu.exec(e->globalPos());
}

void MainWindow::systemCommand(int command) {
  if ((command & ~0xF) != kSystemCommandAbout) return;
  AboutDialog about(parts_.language.get(), this);
  about.exec();
}

// Enter never closes the window (the dialog's default button is ignored).
void MainWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void MainWindow::reject() { close(); }

void MainWindow::closeEvent(QCloseEvent* e) {
  if (shutDown_) return e->accept();
  const Language language = parts_.language.get();
  const MessageResult answer =
      messageBox_.showMessage(std::string(sharedText(kTextAskExitProgram, language)),
                              std::string(sharedText(kTextTip, language)), MessageButtons::YesNo);
  if (answer != MessageResult::Yes) return e->ignore();
  shutdown();
  e->accept();
}

void MainWindow::shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  hide();
  mixerTimer_.stop();
  // Waiting worker calls return before the join, so it cannot deadlock.
  parts_.events.beginStopping();
  parts_.worker.stopLink();
  progress_->hide();
  background_.release();
  backgroundReady_ = false;
}

}  // namespace zr78
