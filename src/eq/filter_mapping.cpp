#include "eq/filter_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "eq/crossover_code.h"
#include "eq/eq_field_text.h"
#include "eq/eq_model.h"
#include "eq/eq_tables.h"
#include "eq/response.h"
#include "text/number_text.h"

namespace zr78 {

namespace {

constexpr int kQStepsSearched = 101;  // 128 is listed twice
// An off code of each direction: its element contributes nothing.
constexpr int kHighPassOffCode = 64, kLowPassOffCode = 65;

int wholeHertz(double hz, int lowest, int highest, bool& limited) {
  const double rounded = std::round(std::clamp(hz, -1e9, 1e9));
  limited = rounded < lowest || rounded > highest;
  return static_cast<int>(std::clamp(rounded, static_cast<double>(lowest), static_cast<double>(highest)));
}

// The displayed Q a step's word gives the response computation (which holds
// Q 0.4 at least, as word 12 of step 0.4 decodes to 0.38).
double realisedQ(int32_t word) { return clampDisplayedQ(decodeQ(word)); }

struct Placer {
  int channel;
  FilterMapping& out;

  int address(int param) const { return *eqRegisterAddress(channel, param); }
  void write(int param, int32_t word) { out.writes.push_back({address(param), word}); }

  void placeBand(MappedFilter& m, int band) {
    const TextFilter& f = m.asked;
    m.placement = FilterPlacement::Band;
    m.band = band;
    m.frequencyHz = wholeHertz(f.frequencyHz, kLowestBandHz, kHighestBandHz, m.frequencyLimited);
    const double tenths = std::round(std::clamp(f.gainDb * 10, -1e9, 1e9));
    m.gainLimited = tenths < kMinGainDb * 10 || tenths > kMaxGainDb * 10;
    m.gainDb = std::clamp(tenths, kMinGainDb * 10, kMaxGainDb * 10) / 10;
    const double displayedQ = f.q * Q_SCALE;
    m.qLimited = displayedQ < Q_STEPS.front() || displayedQ > Q_STEPS.back();
    m.qStep = nearestQStep(displayedQ);
    const int32_t qWord = encodeQ(Q_STEPS[m.qStep]);
    m.q = realisedQ(qWord) / Q_SCALE;
    using namespace EqParamIndex;
    write(kBandFrequency + band, encodeFrequency(m.frequencyHz));
    write(kBandGain + band, encodeGain(m.gainDb));
    write(kBandQ + band, qWord);
  }

  void resetBand(int band) {
    using namespace EqParamIndex;
    write(kBandFrequency + band, encodeFrequency(DEFAULT_BAND_FREQUENCIES[band]));
    write(kBandGain + band, encodeGain(0));
    write(kBandQ + band, encodeQ(kDefaultBandQ));
  }

  void placeCrossover(MappedFilter& m) {
    const bool highPass = m.asked.kind == FilterKind::HighPass;
    m.placement = highPass ? FilterPlacement::HighPass : FilterPlacement::LowPass;
    m.frequencyHz = wholeHertz(m.asked.frequencyHz, kLowestBandHz, highPass ? kHighestBandHz : kHighestLowPassHz,
                               m.frequencyLimited);
    m.q = kButterworthQ;
    const auto direction = highPass ? CrossoverDirection::HighPass : CrossoverDirection::LowPass;
    using namespace EqParamIndex;
    write(highPass ? kHighPassCode : kLowPassCode, textCrossoverCode(direction));
    write(highPass ? kHighPassFrequency : kLowPassFrequency, encodeFrequency(m.frequencyHz));
    (highPass ? out.highPassKept : out.lowPassKept) = false;
  }
};

PreampMapping mapPreamp(const FilterText& text) {
  PreampMapping p;
  if (!text.preampDb) return p;
  p.askedDb = *text.preampDb;
  p.line = text.preampLine;
  if (!(p.askedDb < 0)) {
    p.outcome = PreampOutcome::Ignored;
    return p;
  }
  p.outcome = PreampOutcome::ChannelGain;
  const double floored = std::floor(std::max(p.askedDb, -1e9));
  p.limited = floored < kLowestChannelGainDb;
  p.channelGainDb = static_cast<int>(std::max(floored, static_cast<double>(kLowestChannelGainDb)));
  return p;
}

// The sections of the crossovers the import keeps, as the response
// computation builds them from the channel as it is.
std::vector<BiquadSection> keptCrossoverSections(const RegisterImage& current, int channel, bool highPass,
                                                 bool lowPass) {
  EqChannelState now, kept;  // kept: every band at 0 dB
  loadEqChannelState(current, channel, now);
  for (const int point : {kHighPassPoint, kLowPassPoint}) {
    const bool keep = point == kHighPassPoint ? highPass : lowPass;
    kept.type[point] = keep ? now.type[point] : (point == kHighPassPoint ? kHighPassOffCode : kLowPassOffCode);
    kept.frequencyHz[point] = now.frequencyHz[point];
  }
  return amplifierSections(kept);
}

// Integers and texts only; numbers go through formatNumber.
template <typename... Args>
std::string printed(const char* format, Args... args) {
  char buffer[200];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

std::string hertzText(double hz) { return formatNumber(hz < 100 && hz != std::round(hz) ? "%.1f Hz" : "%.0f Hz", hz); }

std::string doneText(const MappedFilter& m) {
  switch (m.placement) {
    case FilterPlacement::Disabled: return "off: not applied";
    case FilterPlacement::HighPass:
    case FilterPlacement::LowPass: {
      std::string done = m.placement == FilterPlacement::HighPass ? "high-pass" : "low-pass";
      done += ": Butterworth " + std::string(crossoverSlopeText(kTextCrossoverSlope)) + " at " + hertzText(m.frequencyHz);
      if (m.frequencyLimited)
        done += m.placement == FilterPlacement::HighPass ? " (Fc held within 20..20000 Hz)" : " (Fc held within 20..19999 Hz)";
      return done;
    }
    case FilterPlacement::Band: break;
  }
  std::string done = printed("band %d: ", m.band + 1) + hertzText(m.frequencyHz) + formatNumber(", %+.1f dB", m.gainDb) +
                     formatNumber(", Q %.2f", m.q) + " (panel Q " + qStepText(m.qStep) + ")";
  std::string limits;
  if (m.frequencyLimited) limits += "Fc held within 20..20000 Hz";
  if (m.gainLimited) limits += std::string(limits.empty() ? "" : ", ") + "gain held within -20..+20 dB";
  if (m.qLimited)
    limits += std::string(limits.empty() ? "" : ", ") + formatNumber("Q held within %.2f", Q_STEPS.front() / Q_SCALE) +
              formatNumber("..%.2f", Q_STEPS.back() / Q_SCALE);
  return limits.empty() ? done : done + " (" + limits + ")";
}

std::string preampDoneText(const PreampMapping& p) {
  if (p.outcome == PreampOutcome::Ignored)
    return "ignored: the channel gain cannot boost (0 dB at most)";
  std::string done = printed("channel gain %d dB (whole dB, rounded down)", p.channelGainDb);
  return p.limited ? done + ", held at -59 dB (-60 dB is OFF)" : done;
}

std::string reportRow(int line, const std::string& what, const std::string& asked, const std::string& done) {
  std::string row = line > 0 ? printed("%4d  ", line) : std::string(6, ' ');
  row += printed("%-10s %-48s ", what.c_str(), asked.c_str());
  return row + done + "\n";
}

}  // namespace

int textCrossoverCode(CrossoverDirection direction) {
  return *crossoverCode(direction, static_cast<int>(CrossoverFamily::Butterworth), kTextCrossoverSlope);
}

int nearestQStep(double displayedQ) {
  int best = 0;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (int step = 0; step < kQStepsSearched; ++step) {
    const double distance = std::abs(std::log(realisedQ(encodeQ(Q_STEPS[step])) / displayedQ));
    if (distance < bestDistance) {
      best = step;
      bestDistance = distance;
    }
  }
  return best;
}

std::optional<FilterMapping> mapFilters(const FilterText& text, const RegisterImage& current, int channel) {
  if (!isChannel(channel)) return std::nullopt;
  FilterMapping out;
  out.channel = channel;
  out.preamp = mapPreamp(text);
  std::vector<size_t> peaking;  // positions in out.filters
  int highPasses = 0, lowPasses = 0;
  for (const TextFilter& f : text.filters) {
    if (f.kind == FilterKind::None && (f.enabled || f.readable)) continue;
    out.filters.push_back({f});
    if (!f.enabled) continue;
    if (f.kind == FilterKind::Peaking) peaking.push_back(out.filters.size() - 1);
    highPasses += f.kind == FilterKind::HighPass;
    lowPasses += f.kind == FilterKind::LowPass;
  }
  if (peaking.size() > static_cast<size_t>(kMaxPeakingFilters) || highPasses > 1 || lowPasses > 1) return std::nullopt;
  std::stable_sort(peaking.begin(), peaking.end(), [&](size_t a, size_t b) {
    return out.filters[a].asked.frequencyHz < out.filters[b].asked.frequencyHz;
  });

  Placer placer{channel, out};
  // Crossovers first: their registers come before the bands'.
  for (MappedFilter& m : out.filters)
    if (m.asked.enabled && m.asked.kind != FilterKind::Peaking) placer.placeCrossover(m);
  out.usedBands = static_cast<int>(peaking.size());
  for (int band = 0; band < kBandCount; ++band) {
    if (band < out.usedBands)
      placer.placeBand(out.filters[peaking[band]], band);
    else
      placer.resetBand(band);
  }
  std::sort(out.writes.begin(), out.writes.end(),
            [](const RegisterWrite& a, const RegisterWrite& b) { return a.address < b.address; });

  RegisterImage after = current;
  for (const RegisterWrite& w : out.writes) after[w.address] = w.value;
  loadEqChannelState(after, channel, out.amplifier);

  out.writtenSections = keptCrossoverSections(current, channel, out.highPassKept, out.lowPassKept);
  const std::vector<BiquadSection> asked = textSections(text);
  out.writtenSections.insert(out.writtenSections.end(), asked.begin(), asked.end());
  out.deviation = curveDeviation(out.writtenSections, amplifierSections(out.amplifier));
  return out;
}

std::vector<BiquadSection> textSections(const FilterText& text) {
  std::vector<BiquadSection> sections;
  for (const TextFilter& f : text.filters) {
    if (!f.enabled) continue;
    BiquadSection s;
    switch (f.kind) {
      case FilterKind::Peaking:
        if (f.gainDb == 0) continue;
        s.setPeaking(f.frequencyHz, f.gainDb, f.q);
        break;
      case FilterKind::HighPass: s.setSecondOrderHighPass(f.frequencyHz, f.q * f.q); break;
      case FilterKind::LowPass: s.setSecondOrderLowPass(f.frequencyHz, f.q * f.q); break;
      case FilterKind::None: continue;
    }
    sections.push_back(s);
  }
  return sections;
}

std::vector<BiquadSection> amplifierSections(const EqChannelState& state) {
  ResponseEvaluator evaluator(panelCrossoverLimits());
  std::vector<BiquadSection> sections;
  evaluator.sectionsOf(state, sections);
  return sections;
}

double sectionsDb(std::span<const BiquadSection> sections, double frequencyHz) {
  const double s = std::sin(radiansPerSample(frequencyHz) / 2);
  const double phi = s * s;
  double db = 0;
  for (const BiquadSection& section : sections) {
    // A zero on the frequency (a crossover's) gives a finite floor, as the graph does.
    const double numerator = std::max(section.numerator().at(phi), kMagnitudeSquaredFloor);
    db += 10 * std::log10(numerator / section.denominator().at(phi));
  }
  return db;
}

std::vector<double> deviationFrequencies() {
  std::vector<double> hz(kDeviationPoints);
  const double decades = std::log10(static_cast<double>(kHighestBandHz) / kLowestBandHz);
  for (int i = 0; i < kDeviationPoints; ++i)
    hz[i] = kLowestBandHz * std::pow(10.0, decades * i / (kDeviationPoints - 1));
  hz.back() = kHighestBandHz;
  return hz;
}

CurveDeviation curveDeviation(std::span<const BiquadSection> written, std::span<const BiquadSection> amplifier) {
  CurveDeviation worst;
  for (const double hz : deviationFrequencies()) {
    const double difference = std::abs(sectionsDb(written, hz) - sectionsDb(amplifier, hz));
    if (difference > worst.maxDb) worst = {difference, hz};
  }
  return worst;
}

FilterCurves filterCurves(const FilterMapping& mapping, std::span<const double> frequencies) {
  FilterCurves curves;
  const std::vector<BiquadSection> amplifier = amplifierSections(mapping.amplifier);
  curves.frequencyHz.assign(frequencies.begin(), frequencies.end());
  for (const double hz : frequencies) {
    curves.writtenDb.push_back(sectionsDb(mapping.writtenSections, hz));
    curves.amplifierDb.push_back(sectionsDb(amplifier, hz));
  }
  return curves;
}

std::vector<double> comparisonFrequencies(const GraphLayout& layout) {
  const int from = layout.xOf(kLowestBandHz), to = layout.xOf(kHighestBandHz);
  std::vector<double> hz;
  hz.push_back(kLowestBandHz);
  for (int x = from + 1; x < to; ++x)
    hz.push_back(std::clamp(layout.frequencyAt(x), 1.0 * kLowestBandHz, 1.0 * kHighestBandHz));
  hz.push_back(kHighestBandHz);
  return hz;
}

std::string deviationLine(const CurveDeviation& deviation) {
  return formatNumber("max_deviation_db %.3f\n", deviation.maxDb);
}

std::string filterMappingReport(const FilterMapping& m) {
  std::string out = reportRow(0, "", "asked", "done");
  out.replace(0, 4, "line");
  for (const MappedFilter& f : m.filters) {
    const std::string name = f.asked.number > 0 ? printed("Filter %d", f.asked.number) : std::string("Filter");
    out += reportRow(f.asked.line, name, f.asked.text, doneText(f));
  }
  if (m.preamp.outcome != PreampOutcome::Absent)
    out += reportRow(m.preamp.line, "Preamp", formatNumber("%g dB", m.preamp.askedDb), preampDoneText(m.preamp));
  if (m.usedBands < kBandCount) {
    const std::string bands = m.usedBands + 1 == kBandCount ? printed("band %d", kBandCount)
                                                            : printed("bands %d..%d", m.usedBands + 1, kBandCount);
    out += reportRow(0, "unused", bands, "0 dB at the default frequency, Q 7.6");
  }
  if (m.highPassKept) out += reportRow(0, "high-pass", "(not in the text)", "kept as it is");
  if (m.lowPassKept) out += reportRow(0, "low-pass", "(not in the text)", "kept as it is");
  out += "frequencies to whole hertz, gains to 0.1 dB, Q to the nearest Q step in log scale\n";
  out += formatNumber("curves compared 20 Hz..20 kHz, the largest difference at %.0f Hz\n", m.deviation.atHz);
  return out + deviationLine(m.deviation);
}

}  // namespace zr78
