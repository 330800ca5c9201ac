#include "eq/response.h"

#include <algorithm>
#include <cmath>

#include "eq/eq_model.h"

namespace zr78 {

namespace {

// Either rule makes a crossover audible; the second keeps a crossover inside
// the device's working range active whatever the handle limits are.
constexpr double kAlwaysActiveAboveHz = 30;
constexpr double kAlwaysActiveBelowHz = 15000;
// Only a channel far below −3000 dB reaches this; it keeps the log finite.
constexpr double kTotalFloor = 1e-300;

}  // namespace

CrossoverLimits panelCrossoverLimits() { return {19, 20000, 19, 20000}; }

bool crossoverActive(CrossoverDirection direction, double frequencyHz,
                     const CrossoverLimits& limits) {
  if (frequencyHz > kAlwaysActiveAboveHz && frequencyHz < kAlwaysActiveBelowHz) return true;
  if (direction == CrossoverDirection::HighPass)
    return frequencyHz > limits.highPassMinHz && frequencyHz <= limits.highPassMaxHz;
  return frequencyHz > limits.lowPassMinHz && frequencyHz < limits.lowPassMaxHz;
}

void ResponseEvaluator::setPlotWidth(int width) {
  columnCount_ = width >= 1 ? width + kExtraColumns : 0;
  const int padded = (columnCount_ + kLanes - 1) / kLanes * kLanes;
  frequencyHz_.assign(columnCount_, 0.0);
  phi_.assign(padded, 0.5);  // padding lanes: any harmless angle
  const double decades = std::log10(kAxisMaxHz / kAxisMinHz);
  for (int i = 0; i < columnCount_; ++i) {
    frequencyHz_[i] = kAxisMinHz * std::pow(10.0, static_cast<double>(i) / width * decades);
    const double s = std::sin(radiansPerSample(frequencyHz_[i]) / 2);
    phi_[i] = s * s;
  }
}

void ResponseEvaluator::addSection(const BiquadSection& section) {
  sections_[sectionCount_] = section;
  numerators_[sectionCount_] = section.numerator();
  denominators_[sectionCount_] = section.denominator();
  ++sectionCount_;
  ++blocks_[blockCount_].count;
}

void ResponseEvaluator::closeBlock() {
  if (blocks_[blockCount_].count > 0) ++blockCount_;
  blocks_[blockCount_] = Block{sectionCount_, 0};
}

void ResponseEvaluator::addCrossover(int code, double frequencyHz) {
  // The code's parity gives the direction; OFF and unlisted codes give no
  // sections.
  const CrossoverDirection direction = crossoverDirectionOf(code);
  const CrossoverRecipe recipe = crossoverRecipe(code);
  if (recipe.count == 0 || !crossoverActive(direction, frequencyHz, limits_)) return;
  const bool highPass = direction == CrossoverDirection::HighPass;
  for (int k = 0; k < recipe.count; ++k) {
    const CrossoverSection& s = recipe.sections[k];
    BiquadSection section;
    if (s.secondOrder && highPass)
      section.setSecondOrderHighPass(frequencyHz, s.p);
    else if (s.secondOrder)
      section.setSecondOrderLowPass(frequencyHz, s.p);
    else if (highPass)
      section.setFirstOrderHighPass(frequencyHz);
    else
      section.setFirstOrderLowPass(frequencyHz);
    addSection(section);
  }
  blocks_[blockCount_].floored = true;
  closeBlock();
}

void ResponseEvaluator::prepare(const EqChannelState& state) {
  sectionCount_ = 0;
  blockCount_ = 0;
  blocks_[0] = Block{};
  addCrossover(state.type[kHighPassPoint], state.frequencyHz[kHighPassPoint]);
  addCrossover(state.type[kLowPassPoint], state.frequencyHz[kLowPassPoint]);
  for (int b = 0; b < kBandCount; ++b) {
    const int point = kFirstBandPoint + b;
    const double gainDb = std::clamp(state.gainDb[point], kMinGainDb, kMaxGainDb);
    if (gainDb == 0 || std::isnan(gainDb)) continue;  // exactly 0 dB: contributes nothing
    BiquadSection section;
    section.setPeaking(state.frequencyHz[point], gainDb, clampDisplayedQ(state.q[point]) / Q_SCALE);
    addSection(section);
    if (blocks_[blockCount_].count == kBandsPerBlock) closeBlock();
  }
  closeBlock();
}

int ResponseEvaluator::sectionsOf(const EqChannelState& state, std::vector<BiquadSection>& out) {
  prepare(state);
  out.assign(sections_.begin(), sections_.begin() + sectionCount_);
  return sectionCount_;
}

// Within a block numerator and denominator products are kept apart and
// divided once. Neither product can leave the double range: a crossover
// block holds at most 4 sections, and a band's |N|² and |D|² lie within about
// 1e-15 .. 1e4 (±20 dB, Q 0.4 .. 128), so 16 of them stay within 1e-240 ..
// 1e64. Denominators are positive (poles inside the unit circle),
// and so are the numerators of peaking bands (minimum phase); a crossover's
// numerators are floored, because a zero on a column (or rounding next to one)
// would give −∞ or a negative square.
template <bool kFloored>
void ResponseEvaluator::multiplyBlock(const Block& block, const double* phi, double* total) const {
  double num[kLanes], den[kLanes];
  for (int k = 0; k < kLanes; ++k) num[k] = den[k] = 1;
  for (int s = block.first; s < block.first + block.count; ++s) {
    const PhiQuadratic n = numerators_[s], d = denominators_[s];
    for (int k = 0; k < kLanes; ++k) {
      const double nk = n.k0 + phi[k] * (n.k1 + phi[k] * n.k2);
      if constexpr (kFloored)
        num[k] *= nk > kMagnitudeSquaredFloor ? nk : kMagnitudeSquaredFloor;
      else
        num[k] *= nk;
      den[k] *= d.k0 + phi[k] * (d.k1 + phi[k] * d.k2);
    }
  }
  for (int k = 0; k < kLanes; ++k) total[k] *= num[k] / den[k];
}

void ResponseEvaluator::evaluate(const EqChannelState& state, double unitsPerDb, double* out) {
  prepare(state);
  // The ratios are squared magnitudes: dB = 10 log10 r = (10 / ln 10) ln r.
  const double scale = 10 / std::log(10.0) * unitsPerDb;
  for (int i0 = 0; i0 < columnCount_; i0 += kLanes) {
    double phi[kLanes], total[kLanes];
    for (int k = 0; k < kLanes; ++k) {
      phi[k] = phi_[i0 + k];
      total[k] = 1;
    }
    for (int b = 0; b < blockCount_; ++b) {
      const Block& block = blocks_[b];
      if (block.floored)
        multiplyBlock<true>(block, phi, total);
      else
        multiplyBlock<false>(block, phi, total);
    }
    const int lanes = std::min(kLanes, columnCount_ - i0);
    for (int k = 0; k < lanes; ++k)
      out[i0 + k] = scale * std::log(total[k] > kTotalFloor ? total[k] : kTotalFloor);
  }
}

void buildPolyline(const double* totalPx, int count, const PlotGeometry& g,
                   std::vector<PlotPoint>& polyline) {
  polyline.clear();
  const bool flat = std::all_of(totalPx, totalPx + count, [](double v) { return v == 0; });
  if (flat) {
    polyline.push_back({g.x0 - 1, g.yZero});
    polyline.push_back({g.right, g.yZero});
    return;
  }
  polyline.push_back({g.left, g.yZero});
  for (int i = 0; i < count; ++i) {
    // Totals are finite (floored magnitudes, clamped gains); the clamp only
    // keeps the conversion defined.
    const int y = g.yZero - truncClamped(totalPx[i], -1000000, 1000000);
    if (y != polyline.back().y) polyline.push_back({g.x0 + i, y});
  }
  polyline.push_back({g.right, g.yZero});
}

}  // namespace zr78
