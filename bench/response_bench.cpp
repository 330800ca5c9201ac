// Response computation speed: one channel in the worst case (48 dB/Oct
// crossovers on both sides, all 31 bands boosted or cut) and all eight such
// channels, on the EQ panel's plot at scale 1 and 2.
#include <cmath>
#include <cstdio>
#include <vector>

#include "bench_timing.h"
#include "eq/crossover_code.h"
#include "eq/eq_tables.h"
#include "eq/response_set.h"

namespace {

volatile double sink = 0;  // keeps the comparison loop from being optimised away

zr78::EqChannelState worstCaseChannel(int channel) {
  using namespace zr78;
  EqChannelState s;
  s.type[kHighPassPoint] = *crossoverCode(CrossoverDirection::HighPass, 2, 7);  // LR 48
  s.frequencyHz[kHighPassPoint] = 80 + channel;
  s.type[kLowPassPoint] = *crossoverCode(CrossoverDirection::LowPass, 0, 7);  // Butterworth 48
  s.frequencyHz[kLowPassPoint] = 5000 - channel;
  for (int b = 0; b < kBandCount; ++b) {
    const int point = kFirstBandPoint + b;
    s.frequencyHz[point] = DEFAULT_BAND_FREQUENCIES[b];
    s.gainDb[point] = (b % 2 ? -1 : 1) * (3.5 + b % 5);
    s.q[point] = 2.4 + b % 7;
  }
  return s;
}

void run(double scale, const char* channelName, const char* allName) {
  using namespace zr78;
  ResponseSet set;
  set.setCrossoverLimits(panelCrossoverLimits());
  set.setGeometry(eqPanelPlotGeometry(scale));
  for (int c = 0; c < kChannelCount; ++c) {
    set.setState(c, worstCaseChannel(c));
    set.setVisible(c, true);
  }
  const double one = bench::medianMicroseconds([&] { set.recomputeChannel(0); }, 401, 4);
  const double all = bench::medianMicroseconds(
      [&] {
        for (int c = 0; c < kChannelCount; ++c) set.markStale(c);
        set.recompute(0);
      },
      201, 1);
  bench::printFigure(channelName, one, "us");
  if (scale == 1.0) {
    // For comparison: the straightforward way, a log per section per column.
    std::vector<BiquadSection> sections;
    ResponseEvaluator evaluator(panelCrossoverLimits());
    evaluator.setPlotWidth(set.geometry().W);
    const double straightforward = bench::medianMicroseconds(
        [&] {
          evaluator.sectionsOf(worstCaseChannel(0), sections);
          for (int i = 0; i < evaluator.columnCount(); ++i) {
            double db = 0;
            for (const BiquadSection& s : sections)
              db += 10 * std::log10(
                             s.magnitudeSquared(radiansPerSample(evaluator.columnFrequencyHz(i))));
            sink = sink + db;
          }
        },
        21, 2);
    bench::printFigure("response_channel_straightforward_1x", straightforward, "us");
  }
  bench::printFigure(allName, all, "us");
}

}  // namespace

int main() {
  run(1.0, "response_channel_1x", "response_all_1x");
  run(2.0, "response_channel_2x", "response_all_2x");
  return 0;
}
