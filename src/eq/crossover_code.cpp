#include "eq/crossover_code.h"

namespace zr78 {

namespace {

// Codes by [family][slope]; the low-pass code is the high-pass code + 1.
constexpr int kHighPassCodes[kCrossoverFamilyCount][kCrossoverSlopeCount] = {
    {40, 8, 14, 20, 46, 52, 58, 26, 64},   // Butterworth
    {42, 10, 16, 22, 48, 54, 60, 28, 66},  // Bessel
    {44, 12, 18, 24, 50, 56, 62, 30, 68},  // Linkwitz-Riley
};

constexpr std::string_view kSlopeTexts[kCrossoverSlopeCount] = {
    "6dB/Oct", "12dB/Oct", "18dB/Oct", "24dB/Oct", "30dB/Oct",
    "36dB/Oct", "42dB/Oct", "48dB/Oct", "OFF"};

constexpr CrossoverSection F1 = {false, 0};  // first-order section
constexpr CrossoverSection S(double p) { return {true, p}; }

struct RecipeRow {
  int highPassCode;
  CrossoverRecipe highPass;
  CrossoverRecipe lowPass;
};

// The sections of every code. The high-pass and low-pass columns carry
// slightly different p values for the same nominal filter; both are the
// device's own and are used as listed.
const RecipeRow kRecipes[] = {
    // Butterworth
    {40, {1, {F1}}, {1, {F1}}},
    {8, {1, {S(0.4999996657)}}, {1, {S(0.5000535259)}}},
    {14, {2, {F1, S(0.9999984092)}}, {2, {F1, S(0.9995179602)}}},
    {20, {2, {S(1.707110777), S(0.2928935505)}}, {2, {S(1.707599409), S(0.2928288346)}}},
    {46, {3, {F1, S(2.618033989), S(0.3819660113)}}, {3, {F1, S(2.618033989), S(0.3819660113)}}},
    {52, {3, {S(0.2679492939), S(0.4999996657), S(3.732050178)}},
     {3, {S(0.2679015872), S(0.5000535259), S(3.730422562)}}},
    {58, {4, {F1, S(5.04891734), S(0.6431041321), S(0.3079785284)}},
     {4, {F1, S(5.04891734), S(0.6431041321), S(0.3079785284)}}},
    {26, {4, {S(0.2598915843), S(0.3616155671), S(0.8099567701), S(6.568551974)}},
     {4, {S(0.2599596758), S(0.3616604343), S(0.8101784345), S(6.571455971)}}},
    // Bessel
    {42, {1, {F1}}, {1, {F1}}},
    {10, {1, {S(0.3333335914)}}, {1, {S(0.3334087352)}}},
    {16, {2, {F1, S(0.3333335914)}}, {2, {F1, S(0.3334087352)}}},
    {22, {2, {S(0.3333335914), S(0.3333335914)}}, {2, {S(0.3334087352), S(0.3334087352)}}},
    {48, {3, {F1, S(0.3333335914), S(0.3333335914)}},
     {3, {F1, S(0.3334087352), S(0.3334087352)}}},
    {54, {3, {S(0.3333335914), S(0.3333335914), S(0.3333335914)}},
     {3, {S(0.3334087352), S(0.3334087352), S(0.3334087352)}}},
    {60, {4, {F1, S(0.3333335914), S(0.3333335914), S(0.3333335914)}},
     {4, {F1, S(0.3334087352), S(0.3334087352), S(0.3334087352)}}},
    {28, {4, {S(0.3333335914), S(0.3333335914), S(0.3333335914), S(0.3333335914)}},
     {4, {S(0.3334087352), S(0.3334087352), S(0.3334087352), S(0.3334087352)}}},
    // Linkwitz-Riley
    {44, {1, {F1}}, {1, {F1}}},
    {12, {2, {F1, F1}}, {2, {F1, F1}}},
    {18, {2, {F1, S(0.4999996657)}}, {2, {F1, S(0.5000535259)}}},
    {24, {2, {S(0.4999996657), S(0.4999996657)}}, {2, {S(0.5000535259), S(0.5000535259)}}},
    {50, {3, {F1, S(0.4999996657), S(0.9999984092)}},
     {3, {F1, S(0.5000535259), S(0.9995179602)}}},
    {56, {4, {F1, F1, S(0.9999984092), S(0.9999984092)}},
     {4, {F1, F1, S(0.9995179602), S(0.9995179602)}}},
    {62, {4, {F1, S(0.9999984092), S(1.707110777), S(0.2928935505)}},
     {4, {F1, S(0.9995179602), S(1.707599409), S(0.2928288346)}}},
    {30, {4, {S(1.707110777), S(1.707110777), S(0.2928935505), S(0.2928935505)}},
     {4, {S(1.707599409), S(1.707599409), S(0.2928288346), S(0.2928288346)}}},
};

// The high-pass code of the same family and slope: rows are keyed by it.
int rowKey(int code) {
  return crossoverDirectionOf(code) == CrossoverDirection::LowPass ? code - 1 : code;
}

}  // namespace

std::optional<int> crossoverCode(CrossoverDirection direction, int family, int slope) {
  if (family < 0 || family >= kCrossoverFamilyCount || slope < 0 || slope >= kCrossoverSlopeCount)
    return std::nullopt;
  return kHighPassCodes[family][slope] + (direction == CrossoverDirection::LowPass ? 1 : 0);
}

std::optional<CrossoverKind> decodeCrossoverCode(int code) {
  for (int family = 0; family < kCrossoverFamilyCount; ++family)
    for (int slope = 0; slope < kCrossoverSlopeCount; ++slope)
      if (kHighPassCodes[family][slope] == rowKey(code))
        return CrossoverKind{crossoverDirectionOf(code), family, slope};
  return std::nullopt;
}

bool isAcceptedCrossoverCode(int code) {
  return (code >= 8 && code <= 31) || (code >= 40 && code <= 69);
}

std::string_view crossoverSlopeText(int slope) {
  if (slope < 0 || slope >= kCrossoverSlopeCount) return {};
  return kSlopeTexts[slope];
}

CrossoverRecipe crossoverRecipe(int code) {
  const bool lowPass = crossoverDirectionOf(code) == CrossoverDirection::LowPass;
  for (const RecipeRow& row : kRecipes)
    if (row.highPassCode == rowKey(code)) return lowPass ? row.lowPass : row.highPass;
  return {};  // OFF (64..69) and unlisted codes: no sections
}

}  // namespace zr78
