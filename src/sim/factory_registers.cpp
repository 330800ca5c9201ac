#include "sim/factory_registers.h"

#include <cstddef>

namespace zr78::sim {

namespace {

// The device password the amplifier is shipped with.
constexpr int32_t kFactoryPassword[2] = {0x5A52, 0x3738};

// EQ band centre frequencies, band 1 first, as frequency words: below 100 Hz
// 0x8000 + tenths of a hertz (the firmware's words, a little off the nominal
// 32.3, 39.9 and 50.4 Hz), above whole hertz.
constexpr int32_t kBandFrequencies[kBandCount] = {
    0x8000 + 201, 0x8000 + 253, 0x8000 + 325, 0x8000 + 401, 0x8000 + 506, 0x8000 + 637, 0x8000 + 803,
    101,  125,  161,  202,  250,  315,  405,  500,  630,  809,  1000, 1260, 1620, 2000, 2520, 3170,
    4000, 5040, 6350, 8000, 10100, 12500, 16000, 20200,
};

void set(RegisterImage& image, int address, int32_t value) { image[static_cast<size_t>(address)] = value; }

void channelBlock(RegisterImage& image, int channel) {
  const int base = channelBlockRegister(channel, 0);
  // High-pass code, frequency, two more words; low-pass the same.
  const int32_t crossovers[8] = {14, 10, 500, 40, 15, 20600, 500, 40};
  for (int k = 0; k < 8; ++k) set(image, base + k, crossovers[k]);
  switch (channel) {
    case 4:
      set(image, base + 1, 315);
      set(image, base + 5, 1500);
      break;
    case 5:
      set(image, base + 1, 37);
      set(image, base + 5, 315);
      break;
    case 6:
    case 7:
      set(image, base + 0, 20);
      set(image, base + 1, 0x8000 + 100);  // 10.0 Hz
      set(image, base + 4, 21);
      break;
    default:
      break;
  }
  // 31 bands of shape, frequency, gain, Q; then one more group no editor shows.
  for (int band = 0; band < kBandCount; ++band) {
    const int at = base + 8 + 4 * band;
    set(image, at, 7);
    set(image, at + 1, kBandFrequencies[band]);
    set(image, at + 2, 500);
    set(image, at + 3, 400);
  }
  const int tail = base + 8 + 4 * kBandCount;
  set(image, tail, 7);
  set(image, tail + 1, 20000);
  set(image, tail + 2, 500);
  set(image, tail + 3, 400);
}

RegisterImage build() {
  RegisterImage image{};
  set(image, kIdentityRegister, 8864);
  for (int c = 0; c < kChannelCount; ++c) {
    set(image, kFirstVolumeRegister + c, 600);
    set(image, channelGainRegister(c), 600);
  }
  const int32_t roles[6] = {6, 12, 15, 18, 21, 24};
  for (int c = 0; c < 6; ++c) set(image, speakerRoleRegister(c), roles[c]);
  for (int a = kLastSpeakerRoleRegister + 1; a < kFirstDelayRegister; ++a) set(image, a, 1);
  // Limiter groups of seven; channel 7's last word is the first of the blocks.
  const int32_t limiter[7] = {100, 450, 8, 525, 0, 20, 0};
  for (int c = 0; c < kChannelCount; ++c)
    for (int k = 0; k < kLimiterGroupStride; ++k) set(image, limiterRegister(c, k), limiter[k]);
  for (int c = 0; c < kChannelCount; ++c) channelBlock(image, c);
  const int32_t system[16] = {4, 1, 1, 0, 0, kFactoryPassword[0], kFactoryPassword[1], 0,
                              3, 1, 1, 3, 6, 2, 2, 500};
  for (int k = 0; k < 16; ++k) set(image, kInputSourceRegister + k, system[k]);
  return image;
}

}  // namespace

const RegisterImage& factoryRegisters() {
  static const RegisterImage image = build();
  return image;
}

}  // namespace zr78::sim
