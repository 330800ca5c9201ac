// The main window's channel side: the channel strip's registers and edits,
// link propagation of its gains, the speaker-role change and the mixer.
#include "app/channel_panel.h"
#include "app/main_window.h"
#include "app/routing_dialog.h"
#include "channels/link_groups.h"
#include "channels/speaker_roles.h"
#include "registers/register_table.h"
#include "text/language.h"

namespace zr78 {

namespace {

constexpr int kStripChannels = kChannelCount;

// The strip code that shows a register, or −1.
int stripCodeOf(int address) {
  if (address >= kFirstChannelGainRegister && address <= kLastChannelGainRegister)
    return ChannelPanel::kCodeGain + address - kFirstChannelGainRegister;
  if (address >= kFirstDelayRegister && address <= kLastDelayRegister)
    return ChannelPanel::kCodeDelay + address - kFirstDelayRegister;
  if (address >= kFirstMuteRegister && address <= kLastMuteRegister)
    return ChannelPanel::kCodeMute + address - kFirstMuteRegister;
  if (address >= kFirstSpeakerRoleRegister && address <= kLastSpeakerRoleRegister)
    return ChannelPanel::kCodeRole + address - kFirstSpeakerRoleRegister;
  if (address == kFirstVolumeRegister) return ChannelPanel::kCodeMaster;
  return -1;
}

bool inStripGroup(int code, int first) { return code >= first && code < first + kStripChannels; }

}  // namespace

void MainWindow::createChannelPanel() {
  channelPanel_ = new ChannelPanel(parts_.groups, parts_.language, this);
  channelPanel_->setBackground(&background_);
  channelPanel_->setPanelCode(ChannelPanel::kPanelCode);
  const auto apply = [this](int address) { applyToChannelPanel(address); };
  routes_.add(kFirstChannelGainRegister, kLastChannelGainRegister, apply);
  routes_.add(kFirstDelayRegister, kLastDelayRegister, apply);
  routes_.add(kFirstMuteRegister, kLastMuteRegister, apply);
  routes_.add(kFirstSpeakerRoleRegister, kLastSpeakerRoleRegister, apply);
  routes_.add(kFirstVolumeRegister, apply);
  setChannelPanelEdit([this](int, int code) { onChannelPanelEdit(code); });
  setRoutingDialog([this] { runRoutingDialog(); });
}

void MainWindow::placeChannelPanel() {
  channelPanel_->setGeometry(channelPanelRect_);
  channelPanel_->setScale(scale_);
}

void MainWindow::refreshChannelPanelTexts() {
  for (int code = 0; code <= ChannelPanel::kLastTextCode; ++code) channelPanel_->refreshTexts(code);
}

void MainWindow::applyToChannelPanel(int address) {
  const int code = stripCodeOf(address);
  if (code >= 0) channelPanel_->apply(code, parts_.table.getRegister(address));
}

// MSG_PANEL_EDIT from the strip: the word comes from the panel's encode.
void MainWindow::onChannelPanelEdit(int code) {
  RegisterTable& table = parts_.table;
  const auto notify = [this](int address) { notifyRegister(address); };
  const int32_t word = channelPanel_->encode(code);
  if (inStripGroup(code, ChannelPanel::kCodeGain) || inStripGroup(code, ChannelPanel::kCodePhase)) {
    // The phase lives in the gain word; members get the gain, keep their phase.
    const int c = inStripGroup(code, ChannelPanel::kCodeGain) ? code - ChannelPanel::kCodeGain
                                                             : code - ChannelPanel::kCodePhase;
    table.setRegister(channelGainRegister(c), word);
    propagate(table, parts_.groups, c, kSlotChannelGain, notify);
  } else if (inStripGroup(code, ChannelPanel::kCodeDelay)) {
    table.setRegister(delayRegister(code - ChannelPanel::kCodeDelay), word);
  } else if (inStripGroup(code, ChannelPanel::kCodeMute)) {
    table.setRegister(muteRegister(code - ChannelPanel::kCodeMute), word);
  } else if (inStripGroup(code, ChannelPanel::kCodeRole)) {
    changeSpeakerRole(table, code - ChannelPanel::kCodeRole, word, notify);
  }
}

// "Mixer" under the opening rule: four input rows.
void MainWindow::runRoutingDialog() {
  RoutingDialog dialog(parts_.table, parts_.language.get(), RoutingDialog::kDefaultRows, scale_.min,
                       this);
  dialog.exec();
}

}  // namespace zr78
