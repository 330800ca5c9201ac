#include "channels/delay_word.h"

#include <charconv>

#include "eq/eq_model.h"

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
  // to_chars, unlike printf, ignores the process locale (a UI may set one
  // with a decimal comma).
  char text[32];
  const int decimals = unit == DelayUnit::Milliseconds ? 3 : 2;
  const auto result = std::to_chars(text, text + sizeof text, delayDisplayValue(samples, unit),
                                    std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
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

double typedNumber(const std::string& text) {
  std::string kept;
  for (char ch : text)
    if ((ch >= '0' && ch <= '9') || ch == '.' || ch == '-') kept += ch;
  // Read the longest leading number, locale-independent; nothing readable is 0.
  double value = 0;
  std::from_chars(kept.data(), kept.data() + kept.size(), value);
  return value;
}

int parseDelayText(const std::string& text, DelayUnit unit) {
  return delaySamplesFromDisplay(typedNumber(text), unit);
}

}  // namespace zr78
