// One biquad section of the amplifier's filter model at a 48 kHz sample rate:
//
//   H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2)
//   y[n] = b0 x[n] + b1 x[n-1] + b2 x[n-2] - a1 y[n-1] - a2 y[n-2]
//
// Coefficients are held already divided by a0; a first-order section has
// b2 = a2 = 0. Frequencies are in hertz, gains in decibels. Angles use the
// device's circle constant 6.28318530717958 (not the full-precision 2 pi), so
// the curve matches what the amplifier computes.
#pragma once

namespace zr78 {

constexpr double kSampleRateHz = 48000;
constexpr double kCircleConstant = 6.28318530717958;
constexpr double kNyquistHz = kSampleRateHz / 2;

// Angular frequency per sample of a frequency in Hz.
inline double radiansPerSample(double frequencyHz) {
  return kCircleConstant * frequencyHz / kSampleRateHz;
}

// |N(e^jθ)|² of a quadratic as a polynomial in φ = sin²(θ/2):
//   |c0 + c1 z^-1 + c2 z^-2|² = (c0 + c1 + c2)² − 4 (c0 c1 + 4 c0 c2 + c1 c2) φ + 16 c0 c2 φ²
// The φ form keeps the stop band accurate: a zero at DC or Nyquist stays an
// exact factor instead of a difference of nearly equal cosines.
struct PhiQuadratic {
  double k0 = 1, k1 = 0, k2 = 0;
  static PhiQuadratic of(double c0, double c1, double c2);
  double at(double phi) const { return k0 + phi * (k1 + phi * k2); }
};

struct BiquadSection {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;  // unity by default

  // First order: K = cos ω / (1 + sin ω); high-pass b = (1+K)/2, −(1+K)/2;
  // low-pass b = (1−K)/2, (1−K)/2; a1 = −K.
  void setFirstOrderHighPass(double frequencyHz);
  void setFirstOrderLowPass(double frequencyHz);
  // Second order with shape parameter p (quality factor √p):
  // α = sin ω / (2 √p).
  void setSecondOrderHighPass(double frequencyHz, double p);
  void setSecondOrderLowPass(double frequencyHz, double p);
  // Peaking band: A = 10^(gainDb/40), α = sin ω0 / (2 q), q the filter's
  // quality factor (the displayed Q divided by Q_SCALE).
  void setPeaking(double frequencyHz, double gainDb, double q);

  PhiQuadratic numerator() const { return PhiQuadratic::of(b0, b1, b2); }
  PhiQuadratic denominator() const { return PhiQuadratic::of(1, a1, a2); }
  // |H|² at angle θ (radians per sample).
  double magnitudeSquared(double theta) const;

 private:
  void setUnity() { *this = BiquadSection{}; }
  void setSilent() { *this = BiquadSection{0, 0, 0, 0, 0}; }
  // The one normalisation every setter ends in.
  void setNormalised(double nb0, double nb1, double nb2, double a0, double na1, double na2);
};

}  // namespace zr78
