// The response written out literally, for comparison with the fast
// evaluation: every section evaluated as a complex ratio N(z)/D(z) with the
// device's circle constant, each element's dB added in order (high-pass,
// low-pass, bands 1..31), coefficients straight from the textbook formulas.
#pragma once

#include <cmath>
#include <complex>
#include <vector>

#include "eq/crossover_code.h"
#include "eq/eq_channel_state.h"

namespace zr78::literal {

constexpr double kCircle = 6.28318530717958;
constexpr double kFs = 48000;
constexpr double kQScale = 3.1666666666666665;

struct Coefficients {
  double b0, b1, b2, a1, a2;
};

inline double sectionDb(const Coefficients& k, double frequencyHz) {
  const double theta = kCircle * frequencyHz / kFs;
  const std::complex<double> z(std::cos(theta), std::sin(theta));
  const std::complex<double> n = k.b0 * z * z + k.b1 * z + k.b2;
  const std::complex<double> d = z * z + k.a1 * z + k.a2;
  // Floor at −300 dB where a zero falls on the column.
  return 20 * std::log10(std::max(std::abs(n) / std::abs(d), 1e-15));
}

inline Coefficients secondOrder(bool highPass, double fc, double p) {
  const double w = kCircle * fc / kFs;
  const double alpha = std::sin(w) / (2 * std::sqrt(p));
  const double a0 = 1 + alpha;
  const double c = std::cos(w);
  if (highPass)
    return {(1 + c) / (2 * a0), -(1 + c) / a0, (1 + c) / (2 * a0), -2 * c / a0, (1 - alpha) / a0};
  return {(1 - c) / (2 * a0), (1 - c) / a0, (1 - c) / (2 * a0), -2 * c / a0, (1 - alpha) / a0};
}

inline Coefficients firstOrder(bool highPass, double fc) {
  const double w = kCircle * fc / kFs;
  const double k = std::cos(w) / (1 + std::sin(w));
  if (highPass) return {(1 + k) / 2, -(1 + k) / 2, 0, -k, 0};
  return {(1 - k) / 2, (1 - k) / 2, 0, -k, 0};
}

inline Coefficients peaking(double f0, double gainDb, double displayedQ) {
  const double w = kCircle * f0 / kFs;
  const double A = std::pow(10.0, gainDb / 40);
  const double alpha = std::sin(w) * kQScale / (2 * displayedQ);
  const double a0 = 1 + alpha / A;
  return {(1 + alpha * A) / a0, -2 * std::cos(w) / a0, (1 - alpha * A) / a0, -2 * std::cos(w) / a0,
          (1 - alpha / A) / a0};
}

// The dB of one crossover element at a frequency, with the panel's limits
// (19..20000 Hz) unless given.
inline double crossoverDb(int code, double fc, double f, double minHz = 19, double maxHz = 20000) {
  const bool highPass = code % 2 == 0;
  const bool wide = fc > 30 && fc < 15000;
  const bool active =
      highPass ? (wide || (fc > minHz && fc <= maxHz)) : (wide || (fc > minHz && fc < maxHz));
  const CrossoverRecipe recipe = crossoverRecipe(code);
  if (!active) return 0;
  double db = 0;
  for (int i = 0; i < recipe.count; ++i) {
    const CrossoverSection& s = recipe.sections[i];
    db += sectionDb(s.secondOrder ? secondOrder(highPass, fc, s.p) : firstOrder(highPass, fc), f);
  }
  return db;
}

// Total px of a channel at one frequency for a plot H pixels high.
inline double channelPx(const EqChannelState& s, double f, int height) {
  const double perDb = height * 10.0 / 400;
  double px = crossoverDb(s.type[0], s.frequencyHz[0], f) * perDb;
  px += crossoverDb(s.type[1], s.frequencyHz[1], f) * perDb;
  for (int point = 2; point < 33; ++point)
    if (s.gainDb[point] != 0)
      px += sectionDb(peaking(s.frequencyHz[point], s.gainDb[point], s.q[point]), f) * perDb;
  return px;
}

inline double columnFrequency(int column, int width) {
  return 19 * std::pow(10.0, static_cast<double>(column) / width * std::log10(20600.0 / 19));
}

}  // namespace zr78::literal
