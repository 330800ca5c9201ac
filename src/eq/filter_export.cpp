#include "eq/filter_export.h"

#include <cstdio>

#include "eq/crossover_code.h"
#include "eq/eq_model.h"
#include "eq/response.h"
#include "text/number_text.h"

namespace zr78 {

namespace {

const char* familyName(int family) {
  static const char* const kNames[kCrossoverFamilyCount] = {"Butterworth", "Bessel", "Linkwitz-Riley"};
  return family >= 0 && family < kCrossoverFamilyCount ? kNames[family] : "?";
}

void addFilter(ChannelFilterExport& out, TextFilter f, FilterPlacement from, int band) {
  f.enabled = true;
  f.readable = true;
  f.number = static_cast<int>(out.text.filters.size()) + 1;
  out.text.filters.push_back(f);
  out.filters.push_back({f.number, from, band});
}

// The crossover at `point` as a filter, or a comment when the format cannot
// say it; an inactive or OFF crossover does nothing and is left out.
void addCrossover(ChannelFilterExport& out, const EqChannelState& state, int point, int channel) {
  const int code = state.type[point];
  const double hz = state.frequencyHz[point];
  const bool highPass = point == kHighPassPoint;
  // The code's own direction shapes the response, whichever register holds it.
  const CrossoverDirection direction = crossoverDirectionOf(code);
  const bool ownDirection = direction == (highPass ? CrossoverDirection::HighPass : CrossoverDirection::LowPass);
  const auto kind = decodeCrossoverCode(code);
  if (!kind || kind->slope == kCrossoverSlopeOff || !crossoverActive(direction, hz, panelCrossoverLimits())) return;
  if (ownDirection && code == textCrossoverCode(direction)) {
    TextFilter f;
    f.kind = highPass ? FilterKind::HighPass : FilterKind::LowPass;
    f.frequencyHz = hz;
    f.q = kButterworthQ;
    addFilter(out, f, highPass ? FilterPlacement::HighPass : FilterPlacement::LowPass, -1);
    return;
  }
  char what[160];
  std::snprintf(what, sizeof what, "CH%d %s%s %s %s at ", channel + 1, highPass ? "high-pass" : "low-pass",
                ownDirection ? "" : (highPass ? " (a low-pass code)" : " (a high-pass code)"), familyName(kind->family),
                std::string(crossoverSlopeText(kind->slope)).c_str());
  const std::string note = what + formatNumber("%g Hz", hz) +
                           " is not written: the format holds 12 dB/Oct Butterworth crossovers only";
  out.unwritten.push_back(note);
  out.text.comments.push_back(note);
}

}  // namespace

std::optional<ChannelFilterExport> exportChannelFilters(const RegisterImage& registers, int channel) {
  EqChannelState state;
  if (!loadEqChannelState(registers, channel, state)) return std::nullopt;
  ChannelFilterExport out;
  out.text.comments.push_back("ZR-78 CH" + std::to_string(channel + 1) + " equaliser");
  for (int b = 0; b < kBandCount; ++b) {
    const int point = kFirstBandPoint + b;
    if (state.gainDb[point] == 0) continue;
    TextFilter f;
    f.kind = FilterKind::Peaking;
    f.frequencyHz = state.frequencyHz[point];
    f.gainDb = state.gainDb[point];
    f.q = state.q[point] / Q_SCALE;
    addFilter(out, f, FilterPlacement::Band, b);
  }
  addCrossover(out, state, kHighPassPoint, channel);
  addCrossover(out, state, kLowPassPoint, channel);
  // A flat channel is still a filter text: importing it resets the bands.
  if (out.text.filters.empty()) {
    TextFilter none;
    none.enabled = none.readable = true;
    none.number = 1;
    out.text.filters.push_back(none);
  }
  out.deviation = curveDeviation(textSections(out.text), amplifierSections(state));
  return out;
}

std::string filterExportReport(const ChannelFilterExport& exported) {
  std::string out;
  for (const ExportedFilter& f : exported.filters) {
    char row[80];
    if (f.from == FilterPlacement::Band)
      std::snprintf(row, sizeof row, "Filter %-3d band %d\n", f.number, f.band + 1);
    else
      std::snprintf(row, sizeof row, "Filter %-3d %s\n", f.number, f.from == FilterPlacement::HighPass ? "high-pass" : "low-pass");
    out += row;
  }
  if (exported.filters.empty()) out += "no band boosts or cuts and no crossover: written as 'ON None'\n";
  for (const std::string& note : exported.unwritten) out += note + "\n";
  return out + deviationLine(exported.deviation);
}

}  // namespace zr78
