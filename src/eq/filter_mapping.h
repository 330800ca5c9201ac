// A filter text laid onto one output channel: which band or crossover each
// filter takes, the register words that says, what the amplifier will do
// with each filter, and how far the amplifier's curve lies from the text's.
//
// The rules:
// - Each enabled peaking filter takes one band, in order of frequency: the
//   lowest goes to band 1, the next to band 2 ... (filters at one frequency
//   keep their order). The bands left over are set to 0 dB at their default
//   frequencies with the default Q 7.6.
// - Frequency: the nearest whole hertz, 20..20000 Hz.
// - Gain: the nearest 0.1 dB, clamped to -20..+20 dB.
// - Q: the text's Q is the filter's quality factor; the EQ panel shows it
//   times Q_SCALE. The band takes the Q_STEPS value nearest in log scale --
//   not the first step above, as a typed Q does. "Nearest" is measured by the
//   Q the amplifier realises from the step's word, which holds the quality
//   factor in truncated hundredths (at Q 0.5 the realised Q lies 5 % below
//   the step; the response computation holds it at 0.4 at least): so the
//   text's Q 0.16 takes the step whose word realises exactly 0.16, and an
//   exported Q reads back into the same word.
// - HP / LP: the channel's high-pass / low-pass crossover, Butterworth
//   12 dB/Oct at Fc (whole hertz, 20..20000 Hz; a low-pass at most 19999 Hz,
//   since 20000 Hz is its off position). A crossover the text does not name
//   is kept as it is: a tweeter's high-pass is never dropped by an import.
// - Preamp below 0 dB: the channel gain, in whole dB rounded down (the boosts
//   keep at least the headroom asked for), at least -59 dB (-60 dB switches
//   the channel off). 0 dB and above: reported and ignored; the channel gain
//   cannot boost.
//
// The curves: "as written" is the text's filters with their exact values
// (Butterworth sections with p = Q^2 for HP/LP), "the amplifier's" is the
// channel's registers after the import, through the response computation.
// Both hold the crossovers the import keeps, so those do not count in the
// deviation; the channel gain is in neither (the graph does not show it).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "eq/biquad.h"
#include "eq/crossover_code.h"
#include "eq/eq_channel_state.h"
#include "eq/filter_text.h"
#include "eq/graph_layout.h"

namespace zr78 {

constexpr double kDefaultBandQ = 7.6;  // displayed Q of a band at its defaults
constexpr int kLowestBandHz = 20, kHighestBandHz = 20000;
constexpr int kHighestLowPassHz = 19999;  // 20000 Hz is the low-pass's off position
constexpr int kLowestChannelGainDb = -59;  // -60 dB is "OFF"

// The one crossover a filter text's HP or LP stands for, on import and on
// export: 12 dB/Oct Butterworth.
constexpr int kTextCrossoverSlope = 1;  // slope list position of "12dB/Oct"
int textCrossoverCode(CrossoverDirection direction);

struct RegisterWrite {
  int address = 0;
  int32_t value = 0;
  bool operator==(const RegisterWrite&) const = default;
};

enum class FilterPlacement { Band, HighPass, LowPass, Disabled };

// One filter line: what it asked for and what the amplifier will do.
struct MappedFilter {
  TextFilter asked;
  FilterPlacement placement = FilterPlacement::Disabled;
  int band = -1;                  // 0..30 on a band
  double frequencyHz = 0;         // as the amplifier holds it
  double gainDb = 0;
  double q = 0;                   // the quality factor the amplifier realises
  int qStep = 0;                  // the Q_STEPS position the EQ panel shows
  bool frequencyLimited = false;  // moved into the range
  bool gainLimited = false;
  bool qLimited = false;
};

enum class PreampOutcome { Absent, ChannelGain, Ignored };

struct PreampMapping {
  PreampOutcome outcome = PreampOutcome::Absent;
  double askedDb = 0;
  int line = 0;
  int channelGainDb = 0;  // ChannelGain: the gain to set
  bool limited = false;   // held at -59 dB
};

struct CurveDeviation {
  double maxDb = 0;  // the largest |as written - amplifier's|, 20 Hz..20 kHz
  double atHz = 0;
};

struct FilterMapping {
  int channel = 0;
  std::vector<MappedFilter> filters;  // every filter line but None ones, in text order
  PreampMapping preamp;
  int usedBands = 0;                  // bands 0..usedBands-1 hold filters, the rest are reset
  bool highPassKept = true, lowPassKept = true;
  // The channel's EQ registers in address order: every band, and the
  // crossovers the text names. The channel gain word is added by
  // filterImportWrites (channels/filter_import.h).
  std::vector<RegisterWrite> writes;
  std::vector<BiquadSection> writtenSections;  // the text exactly, with the kept crossovers
  EqChannelState amplifier;                    // the channel as it will be
  CurveDeviation deviation;
};

// Empty for a channel above 7 and for a text the parser refuses (more than
// 31 enabled peaking filters, two enabled high-passes or low-passes).
std::optional<FilterMapping> mapFilters(const FilterText& text, const RegisterImage& current, int channel);

// The position in Q_STEPS (first 101) whose realised Q is nearest in log
// scale to a displayed Q.
int nearestQStep(double displayedQ);

// ---- curves ----------------------------------------------------------------

// The enabled filters of a text exactly as written (peaking with gain 0 dB
// and None contribute nothing).
std::vector<BiquadSection> textSections(const FilterText& text);
// The sections the response computation builds for a channel state, with the
// EQ panel's crossover limits.
std::vector<BiquadSection> amplifierSections(const EqChannelState& state);
// The sections' summed response in dB at a frequency.
double sectionsDb(std::span<const BiquadSection> sections, double frequencyHz);

// kDeviationPoints frequencies, log-spaced 20 Hz..20 kHz, both ends included.
constexpr int kDeviationPoints = 2401;  // 1/240 octave
std::vector<double> deviationFrequencies();
CurveDeviation curveDeviation(std::span<const BiquadSection> written, std::span<const BiquadSection> amplifier);

// Both curves of a mapping on given frequencies (the graph's columns, say).
struct FilterCurves {
  std::vector<double> frequencyHz, writtenDb, amplifierDb;
};
FilterCurves filterCurves(const FilterMapping& mapping, std::span<const double> frequencies);
// The frequency of every pixel column of the layout's plot from 20 Hz to
// 20 kHz, both ends included, left to right: where a preview draws them.
std::vector<double> comparisonFrequencies(const GraphLayout& layout);

// ---- report ----------------------------------------------------------------

// One row per filter line (asked, done), the Preamp, the bands reset and the
// crossovers kept; then "max_deviation_db X" as the last line. English, for
// the command line.
std::string filterMappingReport(const FilterMapping& mapping);

// "max_deviation_db 0.083\n"
std::string deviationLine(const CurveDeviation& deviation);

}  // namespace zr78
