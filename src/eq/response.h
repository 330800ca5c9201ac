// The magnitude response of one channel — high-pass, low-pass and 31 peaking
// bands — on the graph's evaluation columns, in decibels or pixels.
//
// Column i of a plot W pixels wide (N = W + 10 columns; the last ten lie right
// of the plot) is evaluated at f_i = 19 × 10^(i / W × log10(20600 / 19)).
// Each active element contributes 20 log10 |H| of its sections; bands with a
// gain of exactly 0 dB and inactive or OFF crossovers contribute exactly 0.
//
// Per recomputation the coefficients of each element are computed once; per
// column only φ_i = sin²(θ_i / 2) is needed (computed once per width). The
// squared magnitudes of the sections are multiplied as polynomials in φ and
// one logarithm per column gives the total — the same sum as adding each
// element's dB, to far less than a pixel. No allocation per evaluation.
#pragma once

#include <array>
#include <vector>

#include "eq/biquad.h"
#include "eq/crossover_code.h"
#include "eq/eq_channel_state.h"
#include "eq/eq_model.h"
#include "eq/plot_geometry.h"

namespace zr78 {

// Frequency limits of the crossover handles. Defaults: the graph before it is
// configured; the EQ panel uses panelCrossoverLimits().
struct CrossoverLimits {
  double highPassMinHz = 19, highPassMaxHz = 20600;
  double lowPassMinHz = 19, lowPassMaxHz = 20600;
};
CrossoverLimits panelCrossoverLimits();  // 19..20000 Hz for both

// A high-pass is active when HPmin < fc <= HPmax or 30 < fc < 15000; a
// low-pass when LPmin < fc < LPmax or 30 < fc < 15000.
bool crossoverActive(CrossoverDirection direction, double frequencyHz,
                     const CrossoverLimits& limits);

// A section's squared numerator magnitude is raised to at least this floor
// (about −300 dB), so a zero on a column (a low-pass at 24 kHz on a narrow
// plot) gives a finite value instead of −∞ or NaN.
constexpr double kMagnitudeSquaredFloor = 1e-30;

class ResponseEvaluator {
 public:
  static constexpr int kExtraColumns = 10;

  explicit ResponseEvaluator(const CrossoverLimits& limits = {}) : limits_(limits) {}

  // Rebuild the columns for a plot `width` pixels wide (allocates; call on
  // resize). A width below 1 leaves no columns.
  void setPlotWidth(int width);
  void setCrossoverLimits(const CrossoverLimits& limits) { limits_ = limits; }
  const CrossoverLimits& crossoverLimits() const { return limits_; }

  int columnCount() const { return columnCount_; }
  double columnFrequencyHz(int column) const { return frequencyHz_[column]; }

  // Writes columnCount() values: the channel's total response × unitsPerDb
  // (1 for decibels, pixelsPerDb(H) for pixels).
  void evaluate(const EqChannelState& state, double unitsPerDb, double* out);

  // The sections the state yields, element by element (for diagnostics and
  // tests): high-pass, low-pass, then bands with a non-zero gain.
  int sectionsOf(const EqChannelState& state, std::vector<BiquadSection>& sections);

 private:
  static constexpr int kLanes = 16;  // columns evaluated together
  static constexpr int kBandsPerBlock = 16;
  static constexpr int kMaxSections = 2 * kMaxCrossoverSections + kBandCount;
  static constexpr int kMaxBlocks = 2 + (kBandCount + kBandsPerBlock - 1) / kBandsPerBlock;

  struct Block {
    int first = 0, count = 0;
    bool floored = false;  // crossover sections: numerators may reach 0
  };

  void prepare(const EqChannelState& state);
  void addCrossover(int code, double frequencyHz);
  void addSection(const BiquadSection& section);
  void closeBlock();
  template <bool kFloored>
  void multiplyBlock(const Block& block, const double* phi, double* total) const;

  CrossoverLimits limits_;
  int columnCount_ = 0;
  std::vector<double> frequencyHz_;
  std::vector<double> phi_;  // padded to a multiple of kLanes

  // Prepared per evaluation: the sections as φ polynomials, grouped in blocks
  // whose products stay far from double underflow and overflow.
  std::array<BiquadSection, kMaxSections> sections_{};
  std::array<PhiQuadratic, kMaxSections> numerators_{};
  std::array<PhiQuadratic, kMaxSections> denominators_{};
  std::array<Block, kMaxBlocks + 1> blocks_{};  // + the open (empty) block
  int sectionCount_ = 0;
  int blockCount_ = 0;
};

struct PlotPoint {
  int x = 0, y = 0;
  bool operator==(const PlotPoint&) const = default;
};

// The curve's polyline from the per-column pixel totals: all exactly 0 gives
// (x0 − 1, yZero), (right, yZero); otherwise (left, yZero), then (x0 + i,
// yZero − trunc(total_i)) whenever y changes, then (right, yZero).
void buildPolyline(const double* totalPx, int count, const PlotGeometry& geometry,
                   std::vector<PlotPoint>& polyline);

}  // namespace zr78
