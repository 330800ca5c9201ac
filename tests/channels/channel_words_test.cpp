// GainWord, DelayWord with its display units, RouteWord and the noise gate.
#include <gtest/gtest.h>

#include "channels/delay_word.h"
#include "channels/gain_word.h"
#include "channels/noise_gate.h"
#include "channels/route_word.h"

namespace zr78 {
namespace {

TEST(GainWord, EncodeAndDecode) {
  struct Row {
    const char* name;
    int gainDb;
    bool phase180;
    int32_t word;
  } rows[] = {
      {"off, phase 0", -60, false, 500},
      {"off, phase 180", -60, true, 0},
      {"-6 dB", -6, false, 594},
      {"-6 dB pressed", -6, true, 94},
      {"-59 dB", -59, false, 541},
      {"0 dB", 0, false, 600},
      {"below range clamps to off", -80, false, 500},
      {"above range clamps", 7, true, 100},
  };
  for (const Row& r : rows) EXPECT_EQ(encodeGainWord(r.gainDb, r.phase180), r.word) << r.name;
  EXPECT_EQ(decodeGainWord(594), (ChannelGain{-6, false}));
  EXPECT_EQ(decodeGainWord(94), (ChannelGain{-6, true}));
  EXPECT_EQ(decodeGainWord(0), (ChannelGain{-60, true}));       // base 0 -> -100 -> off
  EXPECT_EQ(decodeGainWord(700), (ChannelGain{0, false}));      // 200 - 100 clamps to 0
  EXPECT_EQ(decodeGainWord(65535), (ChannelGain{-60, false}));  // 35 - 100 clamps to off
  for (int g = -60; g <= 0; ++g)
    for (bool phase : {false, true})
      EXPECT_EQ(decodeGainWord(encodeGainWord(g, phase)), (ChannelGain{g, phase}));
}

TEST(GainWord, LinkCopiesTheGainAndKeepsThePhase) {
  EXPECT_EQ(linkedGainWord(590, 600), 590);
  EXPECT_EQ(linkedGainWord(590, 100), 90);
  EXPECT_EQ(linkedGainWord(90, 541), 590);
}

TEST(DelayWord, SamplesAndMicroseconds) {
  struct Row {
    int samples;
    int32_t word;
  } rows[] = {{0, 0}, {1, 21}, {48, 1000}, {960, 20000}, {2000, 20000}, {-5, 0}};
  for (const Row& r : rows) EXPECT_EQ(encodeDelayWord(r.samples), r.word) << r.samples;
  EXPECT_EQ(decodeDelayWord(21), 1);
  EXPECT_EQ(decodeDelayWord(1000), 48);
  EXPECT_EQ(decodeDelayWord(65535), 960);  // clamped to 20 ms
  for (int s = 0; s <= kMaxDelaySamples; ++s)
    ASSERT_EQ(decodeDelayWord(encodeDelayWord(s)), s) << s;
}

TEST(DelayWord, DisplayUnits) {
  struct Row {
    const char* name;
    int samples;
    DelayUnit unit;
    const char* text;
  } rows[] = {
      {"1 sample in ms", 1, DelayUnit::Milliseconds, "0.021"},
      {"48 samples in ms", 48, DelayUnit::Milliseconds, "1.000"},
      {"48 samples in cm", 48, DelayUnit::Centimetres, "34.60"},
      {"48 samples in inch", 48, DelayUnit::Inches, "13.62"},
      {"960 samples in cm", 960, DelayUnit::Centimetres, "692.00"},
  };
  for (const Row& r : rows) EXPECT_EQ(formatDelay(r.samples, r.unit), r.text) << r.name;
  EXPECT_DOUBLE_EQ(delayMilliseconds(1), 0.0213);  // the word's own rounding
}

TEST(DelayWord, TypedText) {
  struct Row {
    const char* name;
    const char* text;
    DelayUnit unit;
    int samples;
  } rows[] = {
      {"cm", "34.6", DelayUnit::Centimetres, 48},
      {"inch", "13.62", DelayUnit::Inches, 48},
      {"ms", "0.5", DelayUnit::Milliseconds, 24},
      {"ms with unit letters", "1.000mS", DelayUnit::Milliseconds, 48},
      {"leading point", ".5", DelayUnit::Milliseconds, 24},
      {"letters only", "abc", DelayUnit::Milliseconds, 0},
      {"negative clamps to 0", "-3", DelayUnit::Centimetres, 0},
      {"beyond 20 ms clamps", "99999999999999999999", DelayUnit::Milliseconds, 960},
  };
  for (const Row& r : rows) EXPECT_EQ(parseDelayText(r.text, r.unit), r.samples) << r.name;
  // A value set by the program is milliseconds in every unit.
  EXPECT_EQ(delaySamplesFromMilliseconds(1.0), 48);
}

TEST(RouteWord, RegistersAndWords) {
  EXPECT_EQ(matrixRegister(2, 1), 1631);  // output 3, input 2
  EXPECT_EQ(matrixRegister(0, 0), 1614);
  EXPECT_EQ(matrixRegister(7, 7), 1677);
  EXPECT_FALSE(matrixRegister(8, 0));
  EXPECT_FALSE(matrixRegister(0, -1));
  EXPECT_EQ(encodeRouteWord(75, true), 0x4B01);
  EXPECT_EQ(encodeRouteWord(75, false), 0x4B00);
  EXPECT_EQ(encodeRouteWord(300, true), 0x6401);  // level clamped to 100
  EXPECT_EQ(decodeRouteWord(25600), (RouteCell{100, false}));
  EXPECT_EQ(decodeRouteWord(0x4B01), (RouteCell{75, true}));
}

TEST(RouteWord, RoutingWindowOpeningRule) {
  EXPECT_TRUE(routingAvailable(0x24, 3));
  EXPECT_TRUE(routingAvailable(0x03, 4));
  EXPECT_FALSE(routingAvailable(0x24, 7));  // USB source
  EXPECT_FALSE(routingAvailable(0x02, 3));  // configuration 2
}

TEST(NoiseGate, PositionAndValue) {
  struct Row {
    const char* name;
    int32_t value;
    int position;
  } rows[] = {{"20 shows 14", 20, 14},
              {"exact value", 23, 14},
              {"zero", 0, 0},
              {"last", 327, 20},
              {"above the table", 328, 0}};
  for (const Row& r : rows) EXPECT_EQ(noiseGatePosition(r.value), r.position) << r.name;
  EXPECT_EQ(noiseGateValue(14), 23);
  EXPECT_EQ(noiseGateValue(25), 327);
  EXPECT_EQ(noiseGateValue(-1), 0);
  EXPECT_EQ(noiseGateStep(20, +1), 20);
  EXPECT_EQ(noiseGateStep(0, -1), 0);
  EXPECT_EQ(noiseGateStep(7, +1), 8);
  EXPECT_EQ(noiseGateStep(1 << 30, 0), 20);
}

}  // namespace
}  // namespace zr78
