// The main window's side of the EQ panel: the panel on its canvas rectangle,
// the EQ rows of the register -> view routing, and the panel's edits into
// the register table and the linked channels.
#include "app/eq_panel.h"
#include "app/filter_text_menu.h"
#include "app/main_window.h"
#include "app/response_graph.h"
#include "channels/link_groups.h"
#include "eq/eq_model.h"
#include "eq/eq_param_lookup.h"
#include "registers/register_map.h"
#include "registers/register_table.h"

namespace zr78 {

void MainWindow::createEqPanel() {
  eqPanel_ = new EqPanel({parts_.table, parts_.language, messageBox_, &background_}, this);
  setEqPanelEdit([this](int channel, int param) { onEqPanelEdit(channel, param); });
  // Filter texts in and out of the shown channel, from the graph's menu.
  FilterTextMenu::addTo(*eqPanel_->graph(),
                        std::make_shared<FilterTextMenu>(FilterTextMenuParts{
                            parts_.table, parts_.language, messageBox_, this,
                            [this] { return eqPanel_->currentChannel(); }, [this] { return scale_.min; },
                            [this](const std::vector<RegisterWrite>& writes) { applyImportedFilters(writes); }}));
}

// Each channel's block (crossovers and bands) and its limiter group; the
// registers of a row that hold no EQ parameter are passed over.
void MainWindow::addEqRoutes() {
  const auto apply = [this](int address) { applyEqRegister(address); };
  for (int c = 0; c < kChannelCount; ++c) {
    routes_.add(channelBlockRegister(c, kHighPassCodeOffset),
                bandRegister(c, kBandCount - 1, kBandQOffset), apply);
    routes_.add(limiterRegister(c, kLimiterAttackOffset), limiterRegister(c, kLimiterThresholdOffset),
                apply);
  }
}

void MainWindow::applyEqRegister(int address) {
  if (const auto at = eqParamAt(address))
    eqPanel_->apply(at->param, parts_.table.getRegister(address), at->channel);
}

void MainWindow::placeEqPanel() {
  eqPanel_->setGeometry(eqPanelRect_);
  eqPanel_->setScale(scale_.x, scale_.y, scale_.min);
}

// Encode, write, copy to the linked channels. A drag sends one edit per
// mouse move: each overwrites the table, and the worker sends the latest.
void MainWindow::onEqPanelEdit(int channel, int param) {
  const auto word = eqPanel_->encode(param);
  const auto address = eqRegisterAddress(channel, param);
  if (!word || !address) return;
  parts_.table.setRegister(*address, *word);
  if (const auto slot = linkSlotOfParam(param))
    propagate(parts_.table, parts_.groups, channel, *slot, [this](int a) { notifyRegister(a); });
}

// Each write is set (marked for the worker) and copied to the channel's
// link group as the panel's own edit of that register would be, then shown:
// the panel, the graph and the strip follow the table.
void MainWindow::applyImportedFilters(const std::vector<RegisterWrite>& writes) {
  const auto notify = [this](int a) { notifyRegister(a); };
  for (const RegisterWrite& w : writes) {
    parts_.table.setRegister(w.address, w.value);
    notifyRegister(w.address);
    if (w.address >= kFirstChannelGainRegister && w.address <= kLastChannelGainRegister) {
      propagate(parts_.table, parts_.groups, w.address - kFirstChannelGainRegister, kSlotChannelGain, notify);
    } else if (const auto at = eqParamAt(w.address)) {
      if (const auto slot = linkSlotOfParam(at->param))
        propagate(parts_.table, parts_.groups, at->channel, *slot, notify);
    }
  }
}

}  // namespace zr78
