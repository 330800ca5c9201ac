#include "channels/delay_word.h"

#include "eq/eq_model.h"
#include "text/number_text.h"

namespace zr78 {

namespace {

constexpr int kSamplesPerMs = 48;
constexpr int kHundredthsMmPerMsNumerator = 34600;  // (samples × 34600) div 48
constexpr double kCmPerMs = 34.6;
constexpr double kCmPerInch = 2.54;

int clampSamples(double samples) { return truncClamped(samples, 0, kMaxDelaySamples); }

}  // namespace

double delayMilliseconds(int samples) {
  const int s = clampSamples(samples);
  return ((s * 10000) / kSamplesPerMs + 5) / 10000.0;
}

int32_t encodeDelayWord(int samples) {
  return static_cast<int32_t>(delayMilliseconds(samples) * 1000);
}

int decodeDelayWord(int32_t word) { return clampSamples(word / 1000.0 * kSamplesPerMs + 0.5); }

double delayDisplayValue(int samples, DelayUnit unit) {
  const int s = clampSamples(samples);
  const int d = (s * kHundredthsMmPerMsNumerator) / kSamplesPerMs;  // hundredths of a mm
  switch (unit) {
    case DelayUnit::Centimetres: return d / 1000.0;
    case DelayUnit::Inches: return d / 2540.0;
    case DelayUnit::Milliseconds: break;
  }
  return ((s * 10000) / kSamplesPerMs) / 10000.0;
}

std::string formatDelay(int samples, DelayUnit unit) {
  return formatNumber(unit == DelayUnit::Milliseconds ? "%0.3f" : "%0.2f",
                      delayDisplayValue(samples, unit));
}

int delaySamplesFromDisplay(double value, DelayUnit unit) {
  switch (unit) {
    case DelayUnit::Centimetres: return clampSamples(value * kSamplesPerMs / kCmPerMs + 0.5);
    case DelayUnit::Inches:
      return clampSamples(value * kCmPerInch * kSamplesPerMs / kCmPerMs + 0.5);
    case DelayUnit::Milliseconds: break;
  }
  return delaySamplesFromMilliseconds(value);
}

int delaySamplesFromMilliseconds(double ms) { return clampSamples(ms * kSamplesPerMs + 0.5); }

int parseDelayText(std::string_view text, DelayUnit unit) {
  return delaySamplesFromDisplay(typedNumber(text), unit);
}

}  // namespace zr78
