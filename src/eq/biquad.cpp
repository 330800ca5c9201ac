#include "eq/biquad.h"

#include <cmath>

namespace zr78 {

PhiQuadratic PhiQuadratic::of(double c0, double c1, double c2) {
  const double sum = c0 + c1 + c2;
  return {sum * sum, -4 * (c0 * c1 + 4 * c0 * c2 + c1 * c2), 16 * c0 * c2};
}

void BiquadSection::setNormalised(double nb0, double nb1, double nb2, double a0, double na1,
                                  double na2) {
  b0 = nb0 / a0;
  b1 = nb1 / a0;
  b2 = nb2 / a0;
  a1 = na1 / a0;
  a2 = na2 / a0;
}

// Corner at or beyond Nyquist, or at or below 0 Hz: the section degenerates.
// A high-pass above Nyquist removes everything, one at 0 Hz passes everything
// (and the low-pass the other way round).

void BiquadSection::setFirstOrderHighPass(double frequencyHz) {
  if (frequencyHz >= kNyquistHz) return setSilent();
  if (frequencyHz <= 0) return setUnity();
  const double w = radiansPerSample(frequencyHz);
  const double a0 = 1 + std::sin(w);  // K = cos ω / a0
  const double b = (a0 + std::cos(w)) / 2;
  setNormalised(b, -b, 0, a0, -std::cos(w), 0);
}

void BiquadSection::setFirstOrderLowPass(double frequencyHz) {
  if (frequencyHz >= kNyquistHz) return setUnity();
  if (frequencyHz <= 0) return setSilent();
  const double w = radiansPerSample(frequencyHz);
  const double a0 = 1 + std::sin(w);
  const double b = (a0 - std::cos(w)) / 2;
  setNormalised(b, b, 0, a0, -std::cos(w), 0);
}

void BiquadSection::setSecondOrderHighPass(double frequencyHz, double p) {
  if (frequencyHz >= kNyquistHz) return setSilent();
  if (frequencyHz <= 0) return setUnity();
  // The limit as p -> 0 (α -> ∞) is silence away from DC and Nyquist.
  if (!(p > 0)) return setSilent();
  const double w = radiansPerSample(frequencyHz);
  const double alpha = std::sin(w) / (2 * std::sqrt(p));
  const double c = std::cos(w);
  setNormalised((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void BiquadSection::setSecondOrderLowPass(double frequencyHz, double p) {
  if (frequencyHz >= kNyquistHz) return setUnity();
  if (frequencyHz <= 0) return setSilent();
  if (!(p > 0)) return setSilent();
  const double w = radiansPerSample(frequencyHz);
  const double alpha = std::sin(w) / (2 * std::sqrt(p));
  const double c = std::cos(w);
  setNormalised((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void BiquadSection::setPeaking(double frequencyHz, double gainDb, double q) {
  const double A = std::pow(10.0, gainDb / 40);
  // A centre at DC, Nyquist or beyond makes sin ω0 = 0 (or negative, which
  // the device never sees): the band is flat.
  if (frequencyHz <= 0 || frequencyHz >= kNyquistHz) return setUnity();
  // The limit as q -> 0 is a constant gain of A².
  if (!(q > 0)) {
    setUnity();
    b0 = A * A;
    return;
  }
  const double w = radiansPerSample(frequencyHz);
  const double alpha = std::sin(w) / (2 * q);
  const double c = std::cos(w);
  setNormalised(1 + alpha * A, -2 * c, 1 - alpha * A, 1 + alpha / A, -2 * c, 1 - alpha / A);
}

double BiquadSection::magnitudeSquared(double theta) const {
  const double s = std::sin(theta / 2);
  const double phi = s * s;
  return numerator().at(phi) / denominator().at(phi);
}

}  // namespace zr78
