#include "eq/response_graph_model.h"

#include <algorithm>
#include <cmath>

#include "eq/crossover_code.h"
#include "eq/eq_model.h"
#include "eq/eq_tables.h"
#include "eq/graph_texts.h"
#include "eq/step_table.h"

namespace zr78 {

namespace {

constexpr int kHighPassLimits = 0, kLowPassLimits = 1, kBandLimits = 2;
constexpr double kWheelStepDb = 0.10001;
constexpr double kKeyStepDb = 0.1;

int pointOf(Crossover which) {
  return which == Crossover::kHighPass ? kHighPassPoint : kLowPassPoint;
}

// Gains live on the 0.1 dB grid of the field and the register word; −0.0
// would print as "-0.0".
double onGainGrid(double db) { return std::round(db * 10) / 10 + 0.0; }

int lastGridIndex() { return static_cast<int>(FREQUENCY_GRID.size()) - 1; }

}  // namespace

ResponseGraphModel::ResponseGraphModel() {
  limits_[kHighPassLimits] = {19, kAxisMaxHz};
  limits_[kLowPassLimits] = {19, kAxisMaxHz};
  limits_[kBandLimits] = {19.7, kAxisMaxHz};
  for (int c = 0; c < kMaxChannels; ++c) curves_.setState(c, states_[c]);
  states_[current_].frequencyHz[kHighPassPoint] = kAxisMinHz;
  states_[current_].frequencyHz[kLowPassPoint] = kAxisMaxHz;
  stored(current_);
}

// ---- configuration ----------------------------------------------------------

void ResponseGraphModel::setScale(double scale) {
  scale_ = scale > 0 ? scale : 1.0;
  resize(layout_.width(), layout_.height());
}

void ResponseGraphModel::setChannelCount(int count) {
  channelCount_ = std::clamp(count, 0, kMaxChannels);
  visible_.fill(false);
  resize(layout_.width(), layout_.height());
}

void ResponseGraphModel::setHighPassLimits(double minHz, double maxHz) {
  limits_[kHighPassLimits] = {minHz, maxHz};
  curves_.setCrossoverLimits({minHz, maxHz, limits_[kLowPassLimits].minHz, limits_[kLowPassLimits].maxHz});
}

void ResponseGraphModel::setLowPassLimits(double minHz, double maxHz) {
  limits_[kLowPassLimits] = {minHz, maxHz};
  curves_.setCrossoverLimits({limits_[kHighPassLimits].minHz, limits_[kHighPassLimits].maxHz, minHz, maxHz});
}

void ResponseGraphModel::setBandLimits(double minHz, double maxHz) { limits_[kBandLimits] = {minHz, maxHz}; }

FrequencyLimits ResponseGraphModel::limits(int point) const {
  if (point == kHighPassPoint) return limits_[kHighPassLimits];
  if (point == kLowPassPoint) return limits_[kLowPassLimits];
  return limits_[kBandLimits];
}

void ResponseGraphModel::setPeqMode(bool on) { peq_ = on; }

void ResponseGraphModel::resize(int width, int height) {
  layout_ = GraphLayout(width, height, scale_, channelCount_);
  curves_.setGeometry(layout_.plot());  // every curve stale
  placeHandles();
  ++backdropRevision_;
}

// ---- values -------------------------------------------------------------------

void ResponseGraphModel::stored(int channel) { curves_.setState(channel, states_[channel]); }

double ResponseGraphModel::clampedFrequency(int point, double hz) const {
  const FrequencyLimits lim = limits(point);
  if (std::isnan(hz)) hz = lim.minHz;
  hz = std::clamp(hz, lim.minHz, lim.maxHz);
  // Off the integer mode the grid value may lie above the limit.
  return std::clamp(quantiseFrequency(hz, integerMode_), lim.minHz, lim.maxHz);
}

void ResponseGraphModel::placeHandle(int point) {
  const EqChannelState& s = states_[current_];
  HandlePosition& h = handles_[point];
  h.x = layout_.xOf(s.frequencyHz[point]);
  h.y = isBand(point) ? layout_.yOf(std::clamp(s.gainDb[point], kMinGainDb, kMaxGainDb))
                      : layout_.crossoverY();
}

void ResponseGraphModel::placeHandles() {
  for (int p = 0; p < kEqPointCount; ++p) placeHandle(p);
}

void ResponseGraphModel::setBandFrequency(double hz, int band, int channel, bool show) {
  if (!valid(channel) || band < 0 || band >= kBandCount) return;
  const int p = kFirstBandPoint + band;
  states_[channel].frequencyHz[p] = clampedFrequency(p, hz);
  if (channel == current_) {
    placeHandle(p);
    if (show) label_ = p;
  }
  stored(channel);
}

void ResponseGraphModel::storeGain(int channel, int band, double db) {
  if (std::isnan(db)) db = 0;
  states_[channel].gainDb[kFirstBandPoint + band] = std::clamp(db, kMinGainDb, kMaxGainDb) + 0.0;
}

void ResponseGraphModel::setBandGain(double db, int band, int channel, bool show) {
  if (!valid(channel) || band < 0 || band >= kBandCount) return;
  const int p = kFirstBandPoint + band;
  storeGain(channel, band, db);
  if (channel == current_) {
    placeHandle(p);
    if (show) label_ = p;
  }
  stored(channel);
}

void ResponseGraphModel::setBandQ(double q, int band, int channel, bool show) {
  if (!valid(channel) || band < 0 || band >= kBandCount) return;
  const int p = kFirstBandPoint + band;
  // A Q word of 0 would decode to 0 and make the curve and the arms NaN.
  states_[channel].q[p] = clampDisplayedQ(q);
  if (channel == current_ && show) label_ = p;
  stored(channel);
}

void ResponseGraphModel::setCrossoverFrequency(double hz, int channel, Crossover which, bool show) {
  if (!valid(channel)) return;
  const int p = pointOf(which);
  states_[channel].frequencyHz[p] = clampedFrequency(p, hz);
  if (channel == current_) {
    placeHandle(p);
    if (show) label_ = p;
  }
  stored(channel);
}

void ResponseGraphModel::setCrossoverCode(int code, int channel) {
  if (!valid(channel) || !isAcceptedCrossoverCode(code)) return;
  const int p = crossoverDirectionOf(code) == CrossoverDirection::LowPass ? kLowPassPoint : kHighPassPoint;
  states_[channel].type[p] = code;
  if (channel == current_ && dragged_ == kNoPoint) selected_ = label_ = p;
  stored(channel);
}

void ResponseGraphModel::setChannelState(int channel, const EqChannelState& state) {
  if (!valid(channel)) return;
  for (int b = 0; b < kBandCount; ++b) {
    const int p = kFirstBandPoint + b;
    setBandFrequency(state.frequencyHz[p], b, channel);
    setBandGain(state.gainDb[p], b, channel);
    setBandQ(state.q[p], b, channel);
  }
  setCrossoverFrequency(state.frequencyHz[kHighPassPoint], channel, Crossover::kHighPass);
  setCrossoverFrequency(state.frequencyHz[kLowPassPoint], channel, Crossover::kLowPass);
  for (int p : {kHighPassPoint, kLowPassPoint})
    if (isAcceptedCrossoverCode(state.type[p])) states_[channel].type[p] = state.type[p];
  stored(channel);
}

void ResponseGraphModel::selectChannel(int channel) {
  if (!valid(channel)) return;
  current_ = channel;
  placeHandles();
  curves_.markStale(channel);
  ++backdropRevision_;
}

const EqChannelState& ResponseGraphModel::state(int channel) const {
  return states_[valid(channel) ? channel : current_];
}

// ---- pointer, wheel, keys -------------------------------------------------------

std::optional<GraphNotice> ResponseGraphModel::notice(int point) const {
  if (point == kHighPassPoint) return GraphNotice{kNoticeHighPass, 0, false};
  if (point == kLowPassPoint) return GraphNotice{kNoticeLowPass, 0, false};
  if (isBand(point)) return GraphNotice{kNoticeBand, point - kFirstBandPoint, false};
  return std::nullopt;
}

int ResponseGraphModel::hitHandle(int x, int y) const {
  for (int p = 0; p < kEqPointCount; ++p)
    if (layout_.handleHit(handles_[p].x, handles_[p].y, x, y)) return p;
  return kNoPoint;
}

std::optional<Crossover> ResponseGraphModel::armHit(int x, int y) const {
  // Only arms that are drawn can be grabbed: in GEQ mode the Q stays fixed.
  if (!qArmsShown()) return std::nullopt;
  if (qArmCell(false).contains(x, y)) return Crossover::kHighPass;  // left
  if (qArmCell(true).contains(x, y)) return Crossover::kLowPass;    // right
  return std::nullopt;
}

std::optional<GraphNotice> ResponseGraphModel::press(int x, int y) {
  if (const auto arm = armHit(x, y)) {
    (*arm == Crossover::kHighPass ? leftArm_ : rightArm_) = true;
    return std::nullopt;
  }
  if (const int p = hitHandle(x, y); p != kNoPoint) {
    selected_ = dragged_ = label_ = p;
    curves_.markStale(current_);
    return notice(p);
  }
  if (!layout_.legend()) return std::nullopt;
  const int channel = layout_.legendHit(x, y);
  if (channel < 0) return std::nullopt;
  curves_.markStale(channel);
  if (channel == current_) return std::nullopt;
  setVisible(channel, !visible(channel));
  return GraphNotice{kNoticeLegend, 0, true};
}

void ResponseGraphModel::dragHandle(int x, int y) {
  const int p = dragged_;
  const PlotGeometry& g = layout_.plot();
  HandlePosition& h = handles_[p];
  EqChannelState& s = states_[current_];
  if (!(isBand(p) && geq_)) {
    const FrequencyLimits lim = limits(p);
    const int lo = layout_.xOf(lim.minHz), hi = layout_.xOf(lim.maxHz);
    const int rx = std::clamp(x - g.x0, lo, hi);
    // At a limit's pixel the frequency is the limit itself: the pixel's own
    // frequency lies just below it (x is truncated), and the low-pass could
    // never reach its inactive 20000 Hz.
    const double hz = rx >= hi ? lim.maxHz : rx <= lo ? lim.minHz : layout_.frequencyAt(rx);
    s.frequencyHz[p] = clampedFrequency(p, hz);
    h.x = rx;
  }
  if (isBand(p)) {
    const int ry = std::clamp(y, g.y0, g.y1) - g.yZero;
    // Stored on the 0.1 dB grid, as the field and the register hold it; the
    // handle sits on the stored gain.
    storeGain(current_, p - kFirstBandPoint, layout_.gainTenthsAt(ry) / 10.0);
    h.y = layout_.yOf(s.gainDb[p]);
  } else {
    h.y = layout_.crossoverY();
  }
  stored(current_);
}

void ResponseGraphModel::dragArm(int x) {
  const int p = selected_;
  const int centre = layout_.handleCentreX(handles_[p].x);
  const int distance = leftArm_ ? centre - x : x - centre;
  states_[current_].q[p] = Q_STEPS[static_cast<size_t>(layout_.qStepAtDistance(distance))];
  label_ = p;
  stored(current_);
}

std::optional<GraphNotice> ResponseGraphModel::move(int x, int y) {
  if (dragged_ != kNoPoint) {
    dragHandle(x, y);
    return notice(dragged_);
  }
  if (leftArm_ || rightArm_) {
    dragArm(x);
    return notice(selected_);
  }
  const int p = hitHandle(x, y);
  if (p != kNoPoint) label_ = p;
  hovering_ = p != kNoPoint || armHit(x, y).has_value() ||
              (layout_.legend() && layout_.legendHit(x, y) >= 0);
  return std::nullopt;
}

std::optional<GraphNotice> ResponseGraphModel::release(int x, int y) {
  std::optional<GraphNotice> result;
  if (leftArm_ || rightArm_) {
    dragArm(x);
    result = notice(selected_);
  }
  leftArm_ = rightArm_ = false;
  if (dragged_ != kNoPoint) {
    const int p = dragged_;
    dragged_ = kNoPoint;
    placeHandle(p);  // onto its stored (quantised) frequency and gain
    curves_.markStale(current_);
  }
  return result;
}

std::optional<GraphNotice> ResponseGraphModel::stepGain(double deltaDb) {
  const int p = selected_;
  EqChannelState& s = states_[current_];
  storeGain(current_, p - kFirstBandPoint, onGainGrid(s.gainDb[p] + deltaDb));
  placeHandle(p);
  stored(current_);
  return notice(p);
}

// gridSteps −1/+1: the grid value before/after the first one at or above the
// frequency. Otherwise wholeHertz is added within the point's limits.
std::optional<GraphNotice> ResponseGraphModel::stepCrossover(int point, int gridSteps, double wholeHertz) {
  double& hz = states_[current_].frequencyHz[point];
  if (gridSteps != 0) {
    if (hz > FREQUENCY_GRID.back()) return notice(point);  // no grid value at or above it
    const int g = stepIndex(FREQUENCY_GRID, hz);
    const int to = g + gridSteps;
    if (to >= 0 && to <= lastGridIndex()) hz = FREQUENCY_GRID[static_cast<size_t>(to)];
  } else {
    const FrequencyLimits lim = limits(point);
    hz = std::clamp(hz + wholeHertz, lim.minHz, lim.maxHz);
  }
  placeHandle(point);
  if (dragged_ == kNoPoint) label_ = point;
  stored(current_);
  return notice(point);
}

std::optional<GraphNotice> ResponseGraphModel::wheel(bool up) {
  if (isBand(selected_)) return stepGain(up ? kWheelStepDb : -kWheelStepDb);
  // Down raises the frequency.
  if (integerMode_) return stepCrossover(selected_, 0, up ? -1 : 1);
  return stepCrossover(selected_, up ? -1 : 1, 0);
}

std::optional<GraphNotice> ResponseGraphModel::key(GraphKey key) {
  const bool up = key == GraphKey::kUp;
  if (isBand(selected_)) return stepGain(up ? kKeyStepDb : -kKeyStepDb);
  // The grid in either mode, past the point's limits.
  return stepCrossover(selected_, up ? -1 : 1, 0);
}

// ---- drawing ------------------------------------------------------------------

std::string ResponseGraphModel::labelText() const {
  const EqChannelState& s = currentState();
  if (isBand(label_))
    return bandLabelText(s.frequencyHz[label_], s.q[label_], s.gainDb[label_], integerMode_);
  return crossoverLabelText(s.frequencyHz[label_], integerMode_);
}

void ResponseGraphModel::selectPoint(int point) {
  if (point < 0 || point >= kEqPointCount) return;
  selected_ = label_ = point;
}

bool ResponseGraphModel::qArmsShown() const { return peq_ && isBand(selected_); }

GraphRect ResponseGraphModel::qArmCell(bool right) const {
  const int p = isBand(selected_) ? selected_ : kFirstBandPoint;
  const int d = layout_.qArmDistance(qStepIndex(currentState().q[p]));
  const int cx = layout_.handleCentreX(handles_[p].x) + (right ? d : -d);
  return layout_.squareAround(cx, layout_.handleCentreY(handles_[p].y));
}

bool ResponseGraphModel::visible(int channel) const { return valid(channel) && visible_[channel]; }

void ResponseGraphModel::setVisible(int channel, bool visible) {
  if (!valid(channel) || visible_[channel] == visible) return;
  visible_[channel] = visible;
  ++backdropRevision_;
}

int ResponseGraphModel::recompute() {
  int count = 0;
  for (int c = 0; c < kMaxChannels; ++c) {
    const bool current = c == current_;
    if (!curves_.stale(c) || !(current || visible_[c])) continue;
    curves_.recomputeChannel(c);
    ++count;
    if (!current) ++backdropRevision_;
  }
  return count;
}

// ---- the EQ panel's graph ------------------------------------------------------

void configureAsEqPanelGraph(ResponseGraphModel& model, double scale) {
  model.setScale(scale);
  model.setBandLimits(20, 20000);
  model.setHighPassLimits(19, 20000);
  model.setLowPassLimits(19, 20000);
  model.setIntegerMode(true);
  model.setChannelCount(kChannelCount);
  model.setGeqMode(true);
  model.setPeqMode(false);
}

void loadGraphChannels(ResponseGraphModel& model, const RegisterImage& registers) {
  for (int c = 0; c < kChannelCount; ++c) {
    EqChannelState state;
    if (loadEqChannelState(registers, c, state)) model.setChannelState(c, state);
  }
}

}  // namespace zr78
