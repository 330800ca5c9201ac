// ChannelPanel: the channel strip, the lower panel of the main window. Per
// output channel it shows the channel select button, the speaker role
// selector, the gain fader and box, the phase and mute buttons, the delay
// box with its chain toggle, and in the link row the link buttons; at its
// left the delay unit buttons and the car diagram, lit by the roles.
//
// The panel never writes a register. Every edit goes to the main window as
// MSG_PANEL_EDIT (wParam = panel code 20, lParam = strip code), and the main
// window asks encode() for the word; register values come back through
// apply(). Strip codes: 0 master volume, 1 + c gain, 13 + c delay, 25 + c
// phase, 37 + c mute, 49 + c role (c = channel 0..7); text codes 64..66.
// UI thread only.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "app/channel_focus.h"
#include "app/channel_strip_layout.h"
#include "app/main_layout.h"
#include "channels/delay_word.h"
#include "controls/window_message.h"
#include "registers/register_map.h"

class QMenu;

namespace zr78 {

class CarDiagram;
class Fader;
class ImageButton;
class LanguageIndex;
class LinkGroups;
class NumericEdit;
class PanelSurface;
class RoleMenu;
class SkinComboBox;
class SkinLabel;

class ChannelPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPanelCode = 20;

  // Control ids (each control notifies with its id; wParam = its column).
  static constexpr int kChannelSelectId = 3024;
  static constexpr int kRoleSelectorId = 3124;
  static constexpr int kDelayLabelId = 3224;
  static constexpr int kPhaseId = 4024;
  static constexpr int kMuteId = 5024;
  static constexpr int kGainBoxId = 6024;
  static constexpr int kGainFaderId = 7024;
  static constexpr int kDelayBoxId = 8024;
  static constexpr int kDelayChainId = 8224;  // shared by the twelve chain toggles
  static constexpr int kMasterFaderId = 9024;
  static constexpr int kMasterBoxId = 9124;
  static constexpr int kUnitListId = 9224;
  static constexpr int kCarIconId = 9324;
  static constexpr int kLinkId = 10024;
  static constexpr int kSpareButtonId = 10036;
  static constexpr int kLockId = 10037;
  static constexpr int k3dToggleId = 10038;
  static constexpr int kDbbToggleId = 10039;
  static constexpr int kFirstUnitId = 10040;  // ms, cm, inch
  static constexpr int kLabelId = 11024;
  static constexpr int kLabelCount = 20;

  // Strip codes.
  static constexpr int kCodeMaster = 0;
  static constexpr int kCodeGain = 1;
  static constexpr int kCodeDelay = 13;
  static constexpr int kCodePhase = 25;
  static constexpr int kCodeMute = 37;
  static constexpr int kCodeRole = 49;
  static constexpr int kCodeChannelTexts = 64;
  static constexpr int kCodeLockText = 65;
  static constexpr int kCodeUnitTexts = 66;
  static constexpr int kLastTextCode = 66;

  ChannelPanel(LinkGroups& groups, const LanguageIndex& language, QWidget* parent);
  ~ChannelPanel() override;

  // The main window's background surface: the panel paints its part of it
  // and every control copies its background from it.
  void setBackground(const PanelSurface* surface);
  void setPanelCode(int code) { panelCode_ = code; }
  // Lays the controls out for the main window's scale; nothing happens while
  // the scale is below one half.
  void setScale(const CanvasScale& scale);
  const CanvasScale& scale() const { return scale_; }

  void apply(int code, int32_t word);
  int32_t encode(int code) const;
  void refreshTexts(int code);

  // What the panel shows, for the main window and the tests.
  ImageButton* channelSelect(int column) const { return selects_[column]; }
  ImageButton* roleSelector(int column) const { return roles_[column]; }
  ImageButton* phaseButton(int column) const { return phases_[column]; }
  ImageButton* muteButton(int column) const { return mutes_[column]; }
  NumericEdit* gainBox(int column) const { return gainBoxes_[column]; }
  Fader* gainFader(int column) const { return gainFaders_[column]; }
  NumericEdit* delayBox(int column) const { return delayBoxes_[column]; }
  ImageButton* delayChain(int column) const { return chains_[column]; }
  SkinLabel* delayLabel(int column) const { return delayLabels_[column]; }
  ImageButton* linkButton(int column) const { return links_[column]; }
  ImageButton* lockButton() const { return lock_; }
  ImageButton* unitButton(int unit) const { return units_[unit]; }
  SkinLabel* label(int j) const { return labels_[j]; }
  NumericEdit* masterBox() const { return masterBox_; }
  CarDiagram& carDiagram() const { return *car_; }
  // The role menu while it is open, else null.
  QMenu* openRoleMenu() const;
  int roleOfChannel(int channel) const { return roleOfChannel_[channel]; }
  int menuChannel() const { return menuChannel_; }
  int focusIndex() const { return focusIndex_; }
  bool delayChainFlag(int channel) const { return delayChainFlags_[channel]; }
  DelayUnit delayUnit() const { return unit_; }

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void paintEvent(QPaintEvent*) override;

 private:
  // channel_panel.cpp: messages and behaviour.
  void createControls();
  void buildMessageTable();
  void sendEdit(int code);
  void onGainBox(int column);
  void onGainFader(int column, qintptr position);
  void onPhase(int column);
  void onMute(int column);
  void onDelayBox(int column);
  void onDelayChain();
  void onRoleSelector(int column);
  void onRoleChosen(int role);
  void onLink(int column);
  void onLock();
  void chooseUnit(DelayUnit unit);
  void selectChannel(int channel);
  void refreshRole(int channel);
  void refreshPhaseText(int column);
  void moveFocus(int direction);
  void applyGain(int channel, int32_t word);
  void styleRoleSelectors();

  // channel_panel_layout.cpp: placement and look.
  struct Art {
    QImage select, role, phase, mute, chain, link, radio, fader;
  };
  void layOut();
  void loadArt();
  void styleControls();
  QRect placed(const CanvasRect& design) const;

  LinkGroups& groups_;
  const LanguageIndex& language_;
  MessageTable messages_;
  const PanelSurface* background_ = nullptr;
  int panelCode_ = kPanelCode;
  CanvasScale scale_;
  bool laidOut_ = false;
  std::unique_ptr<Art> art_;

  std::array<ImageButton*, kStripColumns> selects_{};
  std::array<ImageButton*, kStripColumns> roles_{};
  std::array<ImageButton*, kStripColumns> phases_{};
  std::array<ImageButton*, kStripColumns> mutes_{};
  std::array<NumericEdit*, kStripColumns> gainBoxes_{};
  std::array<Fader*, kStripColumns> gainFaders_{};
  std::array<NumericEdit*, kStripColumns> delayBoxes_{};
  std::array<ImageButton*, kStripColumns> chains_{};
  std::array<SkinLabel*, kStripColumns> delayLabels_{};
  std::array<ImageButton*, kStripColumns> links_{};
  std::array<ImageButton*, kDelayUnitCount> units_{};
  std::array<SkinLabel*, kLabelCount> labels_{};
  ImageButton* lock_ = nullptr;
  Fader* masterFader_ = nullptr;
  NumericEdit* masterBox_ = nullptr;
  SkinComboBox* unitList_ = nullptr;
  ImageButton* spareButton_ = nullptr;
  ImageButton* toggle3d_ = nullptr;
  ImageButton* toggleDbb_ = nullptr;
  CarDiagram* car_ = nullptr;
  QPointer<RoleMenu> roleMenu_;

  std::array<int, 20> roleOfChannel_{};
  int menuChannel_ = 0;
  int focusIndex_ = 0;
  std::array<bool, kChannelCount> delayChainFlags_{};
  DelayUnit unit_ = DelayUnit::Milliseconds;
};

}  // namespace zr78
