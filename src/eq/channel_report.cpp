#include "eq/channel_report.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "eq/eq_model.h"
#include "eq/response.h"
#include "text/number_text.h"

namespace zr78 {

namespace {

// Integers and texts only: a floating-point number goes through
// formatNumber, which writes a decimal point in every locale.
template <typename... Args>
void appendf(std::string& out, const char* format, Args... args) {
  char buffer[160];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  if (n > 0) out.append(buffer, std::min<size_t>(n, sizeof buffer - 1));
}

const char* familyName(int family) {
  static const char* const kNames[kCrossoverFamilyCount] = {"Butterworth", "Bessel",
                                                            "Linkwitz-Riley"};
  return family >= 0 && family < kCrossoverFamilyCount ? kNames[family] : "?";
}

void describeCrossover(std::string& out, const char* name, CrossoverDirection direction,
                       int32_t codeWord, int32_t frequencyWord) {
  const double frequencyHz = decodeFrequency(frequencyWord);
  appendf(out, "  %s: ", name);
  const auto kind = decodeCrossoverCode(codeWord);
  if (!kind || kind->direction != direction) {
    appendf(out, "code %d (not a %s code)", static_cast<int>(codeWord), name);
  } else {
    appendf(out, "%s %s", familyName(kind->family),
            std::string(crossoverSlopeText(kind->slope)).c_str());
  }
  const bool active = kind && kind->slope != kCrossoverSlopeOff &&
                      crossoverActive(direction, frequencyHz, panelCrossoverLimits());
  out += formatNumber(", %g Hz", frequencyHz);
  out += active ? "\n" : " (inactive)\n";
}

}  // namespace

std::string responseCsv(const RegisterImage& registers, int channel, int width, int height) {
  EqChannelState state;
  if (width < 1 || height < 1 || !loadEqChannelState(registers, channel, state)) return {};
  ResponseEvaluator evaluator(panelCrossoverLimits());
  evaluator.setPlotWidth(width);
  std::vector<double> totalDb(evaluator.columnCount());
  evaluator.evaluate(state, 1.0, totalDb.data());
  std::string out = "column,frequency_hz,total_db\n";
  for (int i = 0; i < evaluator.columnCount(); ++i)
    out += std::to_string(i) + formatNumber(",%.6g", evaluator.columnFrequencyHz(i)) +
           formatNumber(",%.6f\n", totalDb[i]);
  return out;
}

std::string describeChannelEq(const RegisterImage& registers, int channel) {
  if (!isChannel(channel)) return {};
  const auto word = [&](int param) { return registers[*eqRegisterAddress(channel, param)]; };
  using namespace EqParamIndex;
  std::string out;
  appendf(out, "CH%d\n", channel + 1);
  describeCrossover(out, "high-pass", CrossoverDirection::HighPass, word(kHighPassCode),
                    word(kHighPassFrequency));
  describeCrossover(out, "low-pass", CrossoverDirection::LowPass, word(kLowPassCode),
                    word(kLowPassFrequency));
  for (int b = 0; b < kBandCount; ++b)
    out += formatInteger("  band %2d: ", b + 1) +
           formatNumber("%g Hz, ", decodeFrequency(word(kBandFrequency + b))) +
           formatNumber("Q %.2f, ", decodeQ(word(kBandQ + b))) +
           formatNumber("%+.1f dB\n", decodeGain(word(kBandGain + b)));
  const int release = releaseListPosition(word(kLimiterRelease));
  out += formatNumber("  limiter: threshold %+.1f dBu, ", decodeThreshold(word(kLimiterThreshold))) +
         formatNumber("attack %.1f ms, ", decodeAttack(word(kLimiterAttack))) + "release " +
         std::string(releaseText(release)) + "\n";
  return out;
}

}  // namespace zr78
