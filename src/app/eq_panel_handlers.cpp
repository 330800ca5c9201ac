// The EQ panel's message table: what each control's notification does to the
// other controls, the graph and the main window.
#include <string>

#include "app/eq_panel.h"
#include "app/response_graph.h"
#include "controls/fader.h"
#include "controls/image_button.h"
#include "controls/numeric_edit.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "controls/window_messages.h"
#include "eq/eq_channel_state.h"
#include "eq/eq_field_text.h"
#include "eq/eq_tables.h"
#include "text/language.h"
#include "text/message_box.h"
#include "text/shared_texts.h"

namespace zr78 {

namespace {

constexpr double kDefaultQ = 7.6;

// Buttons: on = released (1), off / bypassed / PEQ = pressed (2).
bool pressed(const ImageButton* b) { return b->state() == ButtonState::kPressed; }
void showState(ImageButton* b, ButtonState s) {
  if (b->state() != s) b->setState(s);
}

}  // namespace

bool EqPanel::event(QEvent* e) { return messageTable_.dispatch(e) || QWidget::event(e); }

void EqPanel::buildMessageTable() {
  const auto band = [](int first, auto handler) {
    return [first, handler](const WindowMessage& m) {
      handler(m.message() - first, static_cast<int>(m.lParam()));
      return qintptr{0};
    };
  };
  const int last = kBandCount - 1;
  messageTable_
      .on(kGraphId,
          [this](const WindowMessage& m) {
            onGraph(static_cast<int>(m.wParam()), static_cast<int>(m.lParam()));
            return qintptr{0};
          })
      .onRange(kBandFrequencyId, kBandFrequencyId + last,
               band(kBandFrequencyId, [this](int b, int v) { onBandFrequency(b, v); }))
      .onRange(kBandQId, kBandQId + last, band(kBandQId, [this](int b, int v) { onBandQ(b, v); }))
      .onRange(kBandGainId, kBandGainId + last,
               band(kBandGainId, [this](int b, int v) { onBandGain(b, v); }))
      .onRange(kFaderId, kFaderId + last, band(kFaderId, [this](int b, int v) { onFader(b, v); }))
      .onRange(kOnOffId, kOnOffId + last, band(kOnOffId, [this](int b, int) { onOnOff(b); }))
      .on(kResetId, [this](const WindowMessage&) { onReset(); return qintptr{0}; })
      .on(kBypassId, [this](const WindowMessage&) { onBypass(); return qintptr{0}; })
      .on(kModeId, [this](const WindowMessage&) { onMode(); return qintptr{0}; })
      .onRange(kCrossoverFieldId, kCrossoverFieldId + 3,
               [this](const WindowMessage& m) {
                 onCrossoverField(m.message() - kCrossoverFieldId);
                 return qintptr{0};
               })
      .onRange(kListId, kListId + 4, [this](const WindowMessage& m) {
        onList(m.message() - kListId);
        return qintptr{0};
      });
}

// ---- helpers ---------------------------------------------------------------------

void EqPanel::sendEdit(int param, int lastEdited) {
  lastEdited_ = lastEdited >= 0 ? lastEdited : param;
  sendMessage(parentWidget(), MSG_PANEL_EDIT, current_, param);
}

// Band b's number turns red and its fader carries the focus mark;
// kNoBand clears both.
void EqPanel::highlight(int band) {
  if (band == highlighted_) return;
  const int before = highlighted_;
  highlighted_ = band;
  for (int b : {before, band}) {
    if (b < 0 || b >= kBandCount) continue;
    styleBandNumber(b);
    faders_[b]->setFocusMark(b == band);
  }
}

// A band whose gain is not 0 is on and remembers that gain; with no band on
// the channel shows as bypassed.
void EqPanel::refreshButtons() {
  bool any = false;
  for (int b = 0; b < kBandCount; ++b) {
    const int tenths = gain_[b]->value();
    if (tenths != 0) {
      savedGains_[b] = tenths / 10.0;
      any = true;
    }
    showState(onOff_[b], tenths != 0 ? ButtonState::kReleased : ButtonState::kPressed);
  }
  showState(commands_[1], any ? ButtonState::kReleased : ButtonState::kPressed);
}

void EqPanel::setBandGain(int band, double db) {
  gain_[band]->setValueFromNumber(db);
  faders_[band]->setValue(db);
  graph_->setBandGain(db, band, current_, true);
}

// ---- the graph -----------------------------------------------------------------------

void EqPanel::onGraph(int wParam, int lParam) {
  using namespace EqParamIndex;
  if (lParam >= kBandCount || lParam < 0) return;
  const EqChannelState& s = graph_->model().currentState();
  if (wParam == 1) {
    fields_[0]->setValueFromNumber(s.frequencyHz[kHighPassPoint]);
    return sendEdit(kHighPassFrequency);
  }
  if (wParam == 2) {
    fields_[1]->setValueFromNumber(s.frequencyHz[kLowPassPoint]);
    return sendEdit(kLowPassFrequency);
  }
  // A band, and the legend's toggle (wParam 5, lParam 0) as band 1.
  const int b = lParam, p = kFirstBandPoint + b;
  frequency_[b]->setValueFromNumber(s.frequencyHz[p]);
  q_[b]->setValueFromNumber(s.q[p]);
  gain_[b]->setValueFromNumber(s.gainDb[p]);
  faders_[b]->setValue(s.gainDb[p]);
  refreshButtons();
  highlight(b);
  sendEdit(kBandFrequency + b);
  sendEdit(kBandQ + b);
  sendEdit(kBandGain + b);
}

// ---- band fields, faders, on/off ---------------------------------------------------------

void EqPanel::onBandFrequency(int band, int value) {
  highlight(band);
  graph_->setBandFrequency(value, band, current_, true);
  sendEdit(EqParamIndex::kBandFrequency + band);
}

void EqPanel::onBandQ(int band, int position) {
  highlight(band);
  graph_->setBandQ(qStepValue(position), band, current_, true);
  sendEdit(EqParamIndex::kBandQ + band);
}

void EqPanel::onBandGain(int band, int tenths) {
  highlight(band);
  const double db = tenths / 10.0;
  graph_->setBandGain(db, band, current_, true);
  faders_[band]->setValue(db);
  refreshButtons();
  sendEdit(EqParamIndex::kBandGain + band);
}

void EqPanel::onFader(int band, int position) {
  highlight(band);
  const double db = position / 10.0;
  graph_->setBandGain(db, band, current_, true);
  gain_[band]->setValueFromNumber(db);
  refreshButtons();
  sendEdit(EqParamIndex::kBandGain + band);
}

// The button has toggled already: off keeps the gain to give it back.
void EqPanel::onOnOff(int band) {
  highlight(band);
  if (pressed(onOff_[band])) {
    savedGains_[band] = gain_[band]->value() / 10.0;
    setBandGain(band, 0);
  } else {
    setBandGain(band, savedGains_[band]);
  }
  refreshButtons();
  sendEdit(EqParamIndex::kBandGain + band);
}

// ---- commands -------------------------------------------------------------------------

void EqPanel::onReset() {
  const Language language = language_.get();
  const MessageResult answer =
      messages_.showMessage(std::string(sharedText(kTextAskResetEq, language)),
                            std::string(sharedText(kTextTip, language)), MessageButtons::YesNo);
  if (answer != MessageResult::Yes) return;
  using namespace EqParamIndex;
  for (int b = 0; b < kBandCount; ++b) {
    savedGains_[b] = 0;
    frequency_[b]->setValueFromNumber(DEFAULT_BAND_FREQUENCIES[b]);
    q_[b]->setValueFromNumber(kDefaultQ);
    setBandGain(b, 0);
    graph_->setBandFrequency(DEFAULT_BAND_FREQUENCIES[b], b, current_);
    graph_->setBandQ(kDefaultQ, b, current_);
    sendEdit(kBandFrequency + b);
    sendEdit(kBandQ + b);
    sendEdit(kBandGain + b);
  }
  graph_->setCrossoverFrequency(kAxisMinHz, current_, Crossover::kHighPass);
  graph_->setCrossoverFrequency(kAxisMaxHz, current_, Crossover::kLowPass);  // clamped to 20000
  fields_[0]->setValueFromNumber(kAxisMinHz);
  fields_[1]->setValueFromNumber(kAxisMaxHz);  // clamped to 20000
  sendEdit(kHighPassFrequency);
  sendEdit(kLowPassFrequency);
  refreshButtons();
  highlight(kNoBand);
}

// The button has toggled already: bypassed keeps every gain to give it back.
void EqPanel::onBypass() {
  const bool bypassed = pressed(commands_[1]);
  for (int b = 0; b < kBandCount; ++b) {
    if (bypassed) {
      savedGains_[b] = gain_[b]->value() / 10.0;
      setBandGain(b, 0);
    } else {
      setBandGain(b, savedGains_[b]);
    }
    sendEdit(EqParamIndex::kBandGain + b);
  }
  refreshButtons();
  highlight(kNoBand);
}

// Released: GEQ, the Q of every band back to 7.6 and the frequency and Q
// fields read-only. Pressed: PEQ, all editable. Frequencies stay.
void EqPanel::onMode() {
  const bool geq = geqMode();
  graph_->setGeqMode(geq);
  graph_->setPeqMode(!geq);
  refreshText(117);
  for (int b = 0; b < kBandCount; ++b) {
    if (geq) {
      q_[b]->setValueFromNumber(kDefaultQ);
      graph_->setBandQ(kDefaultQ, b, current_);
    }
    sendEdit(EqParamIndex::kBandQ + b);
  }
  setBandFieldsReadOnly(geq);
  highlight(kNoBand);
}

void EqPanel::setPeqMode(bool peq) {
  if (peq == !geqMode()) return;
  commands_[2]->setState(peq ? ButtonState::kPressed : ButtonState::kReleased);
  onMode();
}

// ---- crossovers and limiter ------------------------------------------------------------

void EqPanel::onCrossoverField(int i) {
  using namespace EqParamIndex;
  switch (i) {
    case 0:
      graph_->setCrossoverFrequency(fields_[0]->value(), current_, Crossover::kHighPass, true);
      return sendEdit(kHighPassFrequency);
    case 1:
      graph_->setCrossoverFrequency(fields_[1]->value(), current_, Crossover::kLowPass, true);
      return sendEdit(kLowPassFrequency);
    case 2: return sendEdit(kLimiterThreshold);
    case 3: return sendEdit(kLimiterAttack);
    default: return;
  }
}

// The type and slope lists send their crossover's code; the slope list is
// remembered as its own index for the keyboard.
void EqPanel::onList(int i) {
  using namespace EqParamIndex;
  if (i == 4) return sendEdit(kLimiterRelease);
  const int param = i < 2 ? kHighPassCode : kLowPassCode;
  if (const auto code = encode(param)) graph_->setCrossoverCode(*code, current_);
  sendEdit(param, param + (i % 2));
}

}  // namespace zr78
