// MainWindow: the main window. A borderless window drawn on the 1278 × 718
// design canvas: its own window buttons, the title, the link status, the
// navigation buttons, the master volume and the input selector in the top
// band, and below them the EQ panel's and the channel panel's areas.
//
// Everything reaches it as a numbered window message, dispatched in one
// message table (event()): the link's MSG_DEVICE_NOTIFY, the controls'
// notifications and the panels' messages. UI thread only.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "app/main_layout.h"
#include "app/register_routes.h"
#include "app/top_band_rules.h"
#include "app/ui_message_box.h"
#include "app/window_drag.h"
#include "channels/input_source.h"
#include "controls/panel_surface.h"
#include "controls/window_message.h"
#include "text/shared_texts.h"

namespace zr78 {

class EqPanel;
class LevelSlider;
class ChannelPanel;
class ImageButton;
class ProgressWindow;
class SkinComboBox;
class SkinLabel;
class LanguageIndex;
class LinkGroups;
class QtTranslations;
class RegisterTable;
class SyncWorker;
class UiLinkEvents;
struct LinkState;
struct RegisterWrite;

// What the window works with; the application owns all of it.
struct MainWindowParts {
  RegisterTable& table;
  LinkState& state;
  SyncWorker& worker;
  UiLinkEvents& events;
  LanguageIndex& language;
  LinkGroups& groups;
  QtTranslations& translations;
};

// Timer 122: how long "Mixer" stays hidden after a source change, and the
// wait before it comes back once the matrix has been asked for again.
struct MixerTiming {
  int hiddenMs = kMixerHiddenMs;
  int showDelayMs = kMixerShowDelayMs;
};

class MainWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMixerTimerId = 122;
  static constexpr int kSystemCommandAbout = 16;

  explicit MainWindow(const MainWindowParts& parts, MixerTiming mixerTiming = {});
  ~MainWindow() override;

  // The initialisation after the single-instance check: title, background,
  // texts, the link (with the progress window), size, the first refreshes.
  void initDialog();
  // The confirmed end: hide, stop the link (never blocking on the worker),
  // release the background. The window then closes.
  void shutdown();
  bool shutDown() const { return shutDown_; }

  // The window menu (right click into the drag band): the about item.
  void systemCommand(int command);

  // Parts for the panels that arrive later and for the tests.
  RegisterRoutes& registerRoutes() { return routes_; }
  UiMessageBox& messages() { return messageBox_; }
  ProgressWindow& progressWindow() { return *progress_; }
  ImageButton* topButton(int j) const { return buttons_[j]; }
  SkinLabel* titleLabel() const { return title_; }
  SkinLabel* volumeLabel() const { return volumeLabel_; }
  LevelSlider* volumeSlider() const { return slider_; }
  SkinComboBox* inputSelector() const { return selector_; }
  EqPanel* eqPanel() const { return eqPanel_; }
  const QTimer& mixerTimer() const { return mixerTimer_; }
  const CanvasScale& scale() const { return scale_; }
  QRect eqPanelRect() const { return eqPanelRect_; }
  QRect channelPanelRect() const { return channelPanelRect_; }
  int eqChannel() const { return eqChannel_; }
  int displayRefreshes() const { return displayRefreshes_; }
  const WindowDrag& drag() const { return drag_; }
  bool buttonVisible(int j) const { return buttonVisible_[j]; }
  LinkStatusShown shownStatus() const { return shownStatus_; }

  // Handlers the routing dialog and the system settings window install
  // when they arrive; until then the buttons only do their refresh part.
  void setRoutingDialog(std::function<void()> run) { runRoutingDialog_ = std::move(run); }
  void setSystemDialog(std::function<void()> run) { runSystemDialog_ = std::move(run); }
  // MSG_PANEL_EDIT handlers of the EQ panel (channel in wParam, below 12)
  // and of the channel panel (panel code 20).
  using PanelEdit = std::function<void(int panel, int control)>;
  void setEqPanelEdit(PanelEdit edit) { eqPanelEdit_ = std::move(edit); }
  void setChannelPanelEdit(PanelEdit edit) { channelPanelEdit_ = std::move(edit); }

  // ---- channel strip (main_window_channels.cpp) ----
  ChannelPanel* channelPanel() const { return channelPanel_; }
  // ---- end channel strip ----

 public slots:
  void reject() override;  // Escape asks before it closes, like the close button

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // main_window.cpp: construction, messages, device notifications.
  void buildMessageTable();
  void createControls();
  void buildRegisterRoutes();
  qintptr onDeviceNotify(const WindowMessage& m);
  void applyFromDevice(int address);
  void showLinkStatus(LinkStatus status);
  void notifyRegister(int address);
  void showMessage(TextId textEntry, std::optional<TextId> captionEntry = std::nullopt);

  // main_window_eq.cpp: the EQ panel, its register rows and its edits.
  void createEqPanel();
  void addEqRoutes();
  void placeEqPanel();
  void applyEqRegister(int address);
  void onEqPanelEdit(int channel, int param);
  // An imported filter text (app/filter_text_menu.h): each write as an edit.
  void applyImportedFilters(const std::vector<RegisterWrite>& writes);

  // main_window_layout.cpp: the design canvas.
  void relayout();
  void placeTopButtons();
  void placeVolumeRow();
  void styleTopButton(int j);
  void setUpControls();
  QRect placed(const CanvasRect& design) const;

  // main_window_top_band.cpp: the top band's behaviour.
  qintptr onTopButton(int j);
  void onStatusButton();
  void onMixerButton();
  void onVolumeSlider();
  void onSelectorChanged(int selector, qintptr lParam);
  void onMixerTimer();
  void applyVolume(int address);
  void applyInputSource(int address);
  void applyDeviceKind(int address);
  void refreshLanguage();
  void refillSelector();
  void setButtonVisible(int j, bool visible);
  QString volumeText(double db) const;

  // ---- channel strip (main_window_channels.cpp) ----
  void createChannelPanel();
  void placeChannelPanel();
  void refreshChannelPanelTexts();
  void applyToChannelPanel(int address);
  void onChannelPanelEdit(int code);
  void runRoutingDialog();
  ChannelPanel* channelPanel_ = nullptr;
  // ---- end channel strip ----

  MainWindowParts parts_;
  MixerTiming mixerTiming_;
  MessageTable messagesTable_;
  RegisterRoutes routes_;
  PanelSurface background_;
  QImage backgroundArt_;
  bool backgroundReady_ = false;
  std::array<ImageButton*, kTopButtonCount> buttons_{};
  std::array<QImage, kTopButtonCount> buttonArt_;
  bool controlsSetUp_ = false;
  std::array<bool, kTopButtonCount> buttonVisible_{};
  SkinLabel* title_ = nullptr;
  SkinComboBox* selector_ = nullptr;
  LevelSlider* slider_ = nullptr;
  SkinLabel* volumeLabel_ = nullptr;
  ProgressWindow* progress_ = nullptr;
  UiMessageBox messageBox_;
  CanvasScale scale_;
  QRect eqPanelRect_, channelPanelRect_;
  // What the status button shows; its text follows it in every language.
  LinkStatusShown shownStatus_ = LinkStatusShown::Connecting;
  int eqChannel_ = 0;
  int displayRefreshes_ = 0;
  QTimer mixerTimer_;
  WindowDrag drag_;
  bool shutDown_ = false;
  std::function<void()> runRoutingDialog_;
  std::function<void()> runSystemDialog_;
  PanelEdit eqPanelEdit_;
  PanelEdit channelPanelEdit_;
  EqPanel* eqPanel_ = nullptr;
};

}  // namespace zr78
