// The EQ panel and the register table: reload a channel, apply one word
// from the device, encode one parameter for the main window.
#include <algorithm>

#include "app/eq_panel.h"
#include "app/response_graph.h"
#include "controls/fader.h"
#include "controls/numeric_edit.h"
#include "controls/skin_combo_box.h"
#include "eq/crossover_code.h"
#include "eq/eq_channel_state.h"
#include "eq/eq_field_text.h"
#include "registers/register_table.h"

namespace zr78 {

namespace {

void showListPosition(SkinComboBox* list, int position) {
  if (list->currentIndex() != position) list->setCurrentIndex(position);
  list->setCurSel(position);
}

// Decoding order of a reload: the bands' frequency, Q and gain, then the
// crossover frequencies, their codes and the limiter.
constexpr int kTailParams[] = {EqParamIndex::kHighPassFrequency, EqParamIndex::kLowPassFrequency,
                               EqParamIndex::kHighPassCode,      EqParamIndex::kLowPassCode,
                               EqParamIndex::kLimiterThreshold,  EqParamIndex::kLimiterAttack,
                               EqParamIndex::kLimiterRelease};

}  // namespace

void EqPanel::reload(int channel) {
  if (!isChannel(channel)) return;
  current_ = channel;
  graph_->selectChannel(channel);
  const auto applyAll = [&](int c) {
    const auto word = [&](int p) { return table_.getRegister(*eqRegisterAddress(c, p)); };
    using namespace EqParamIndex;
    for (int b = 0; b < kBandCount; ++b)
      for (int p : {kBandFrequency + b, kBandQ + b, kBandGain + b}) apply(p, word(p), c);
    for (int p : kTailParams) apply(p, word(p), c);
  };
  applyAll(channel);
  for (int c = 0; c < kChannelCount; ++c)
    if (c != channel) applyAll(c);
}

void EqPanel::apply(int param, int32_t word, int channel) {
  if (!isChannel(channel)) return;
  using namespace EqParamIndex;
  const bool shown = channel == current_;
  const EqChannelState& s = graph_->model().state(channel);
  if (param >= kBandFrequency && param < kBandQ) {
    const int b = param - kBandFrequency;
    graph_->setBandFrequency(decodeFrequency(word), b, channel);
    // The field shows what the graph holds (whole hertz), so both agree.
    if (shown) frequency_[b]->setValueFromNumber(s.frequencyHz[kFirstBandPoint + b]);
  } else if (param >= kBandQ && param < kBandGain) {
    const int b = param - kBandQ;
    graph_->setBandQ(decodeQ(word), b, channel);  // clamped into 0.4 .. 128 there
    if (shown) q_[b]->setValueFromNumber(s.q[kFirstBandPoint + b]);
  } else if (param >= kBandGain && param < kHighPassFrequency) {
    const int b = param - kBandGain;
    graph_->setBandGain(decodeGain(word), b, channel);
    if (shown) {
      const double db = s.gainDb[kFirstBandPoint + b];
      gain_[b]->setValueFromNumber(db);
      faders_[b]->setValue(db);
      refreshButtons();
    }
  } else if (param == kHighPassFrequency || param == kLowPassFrequency) {
    const bool high = param == kHighPassFrequency;
    graph_->setCrossoverFrequency(decodeFrequency(word), channel,
                                  high ? Crossover::kHighPass : Crossover::kLowPass);
    if (shown)
      fields_[high ? 0 : 1]->setValueFromNumber(
          s.frequencyHz[high ? kHighPassPoint : kLowPassPoint]);
  } else if (param == kHighPassCode || param == kLowPassCode) {
    // A code of the other direction in this register would land on the other
    // crossover's point: it is not taken, and the lists keep their selection.
    const CrossoverDirection direction =
        param == kHighPassCode ? CrossoverDirection::HighPass : CrossoverDirection::LowPass;
    const auto kind = decodeCrossoverCode(word);
    if (!kind || kind->direction != direction) return;
    graph_->setCrossoverCode(word, channel);
    if (!shown) return;
    const int first = param == kHighPassCode ? 0 : 2;
    showListPosition(lists_[first], kind->family);
    showListPosition(lists_[first + 1], kind->slope);
  } else if (shown && param == kLimiterThreshold) {
    fields_[2]->setValueFromNumber(decodeThreshold(word));
  } else if (shown && param == kLimiterAttack) {
    fields_[3]->setValueFromNumber(decodeAttack(word));
  } else if (shown && param == kLimiterRelease) {
    showListPosition(lists_[4], releaseListPosition(word));
  }
}

std::optional<int32_t> EqPanel::encode(int param) const {
  using namespace EqParamIndex;
  if (param >= kBandFrequency && param < kBandQ) return encodeFrequency(frequency_[param]->value());
  if (param >= kBandQ && param < kBandGain) return encodeQ(qStepValue(q_[param - kBandQ]->value()));
  if (param >= kBandGain && param < kHighPassFrequency)
    return encodeGain(gain_[param - kBandGain]->value() / 10.0);
  switch (param) {
    case kHighPassFrequency: return encodeFrequency(fields_[0]->value());
    case kLowPassFrequency: return encodeFrequency(fields_[1]->value());
    case kHighPassCode:
    case kHighPassSlope:
      return crossoverCode(CrossoverDirection::HighPass, lists_[0]->displayedIndex(),
                           lists_[1]->displayedIndex());
    case kLowPassCode:
    case kLowPassSlope:
      return crossoverCode(CrossoverDirection::LowPass, lists_[2]->displayedIndex(),
                           lists_[3]->displayedIndex());
    case kLimiterThreshold: return encodeThreshold(fields_[2]->value() / 10.0);
    case kLimiterAttack: return encodeAttack(attackStepValue(fields_[3]->value()));
    case kLimiterRelease: return releaseWord(lists_[4]->displayedIndex());
    default: return std::nullopt;
  }
}

}  // namespace zr78
