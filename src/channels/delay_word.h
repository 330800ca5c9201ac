// DelayWord: an output channel's time alignment (register 73 + channel).
// The delay box holds whole samples at 48 kHz, 0 .. 960 (0 .. 20 ms); the
// register holds microseconds.
//
// Display units (the delay box's kinds 8, 9, 10): ms, cm and inch, with the
// speed of sound 346 m/s (34.6 cm per ms) and 2.54 cm per inch.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zr78 {

constexpr int kMaxDelaySamples = 960;

enum class DelayUnit { Milliseconds = 8, Centimetres = 9, Inches = 10 };

// ms = ((samples × 10000) div 48 + 5) / 10000; word = trunc(ms × 1000).
int32_t encodeDelayWord(int samples);
// samples = trunc(word / 1000 × 48 + 0.5), clamped to 0..960.
int decodeDelayWord(int32_t word);

// The delay in milliseconds the word is computed from.
double delayMilliseconds(int samples);

// The value a delay box shows in a unit, and its text ("%0.3f" for ms,
// "%0.2f" for cm and inch).
double delayDisplayValue(int samples, DelayUnit unit);
std::string formatDelay(int samples, DelayUnit unit);

// Samples of a typed number in a unit, clamped to 0..960.
int delaySamplesFromDisplay(double value, DelayUnit unit);
// Samples of a delay set by the program: always milliseconds, whatever the
// unit.
int delaySamplesFromMilliseconds(double ms);
// Typed text: read with typedNumber (text/number_text.h) and converted in
// the unit.
int parseDelayText(std::string_view text, DelayUnit unit);

}  // namespace zr78
