// CrossoverCode: one word holding a crossover's pass direction, filter family
// and slope, and the filter sections behind every code.
//
// High-pass codes are even, low-pass codes odd. The table is not arithmetic in
// the slope (12..24 and 48 dB/Oct lie in 8..31; 6, 30..42 dB/Oct and OFF in
// 40..69), so it is looked up in both directions.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace zr78 {

enum class CrossoverDirection { HighPass, LowPass };
enum class CrossoverFamily { Butterworth = 0, Bessel = 1, LinkwitzRiley = 2 };

constexpr int kCrossoverFamilyCount = 3;
constexpr int kCrossoverSlopeCount = 9;  // 6..48 dB/Oct, then OFF
constexpr int kCrossoverSlopeOff = 8;

struct CrossoverKind {
  CrossoverDirection direction;
  int family;  // list position: 0 Butterworth, 1 Bessel, 2 Linkwitz-Riley
  int slope;   // list position: 0 "6dB/Oct" .. 7 "48dB/Oct", 8 "OFF"
};

// Even codes are high-pass, odd codes low-pass.
inline CrossoverDirection crossoverDirectionOf(int code) {
  return (code & 1) ? CrossoverDirection::LowPass : CrossoverDirection::HighPass;
}

// Code of a family and slope list position; empty outside the lists.
std::optional<int> crossoverCode(CrossoverDirection direction, int family, int slope);
// The list positions of a code; empty for codes the table does not hold (the
// panel's lists then keep their previous selection).
std::optional<CrossoverKind> decodeCrossoverCode(int code);
// Codes the graph accepts: 8..31 and 40..69.
bool isAcceptedCrossoverCode(int code);

// Slope list text, identical in every language: "6dB/Oct" .. "48dB/Oct", "OFF".
std::string_view crossoverSlopeText(int slope);

// One filter section of a crossover: first order, or second order with shape
// parameter p (sqrt(p) is the section's quality factor).
struct CrossoverSection {
  bool secondOrder;
  double p;
};

constexpr int kMaxCrossoverSections = 4;

// The sections of a code, all of the code's direction and with the
// crossover's corner frequency. Empty for OFF and unlisted codes.
struct CrossoverRecipe {
  int count = 0;
  std::array<CrossoverSection, kMaxCrossoverSections> sections{};
};
CrossoverRecipe crossoverRecipe(int code);

}  // namespace zr78
