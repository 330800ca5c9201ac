#include "eq/eq_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "eq/crossover_code.h"
#include "eq/eq_tables.h"

namespace zr78 {
namespace {

TEST(FrequencyWord, EdgeCases) {
  struct Row {
    const char* name;
    double hz;
    int32_t word;
  } rows[] = {
      {"19 Hz in tenths", 19, 32958},
      {"63 Hz", 63, 33398},
      {"99.9 Hz", 99.9, 33767},
      {"100 Hz whole", 100, 100},
      {"20000 Hz", 20000, 20000},
      {"20.1 Hz", 20.1, 32969},
      {"negative clamps to 0", -5, 32768},
      {"beyond 16 bits clamps", 1e9, 32767},
  };
  for (const Row& r : rows) EXPECT_EQ(encodeFrequency(r.hz), r.word) << r.name;
  EXPECT_DOUBLE_EQ(decodeFrequency(33767), 99.9);
  EXPECT_DOUBLE_EQ(decodeFrequency(32969), 20.1);
  EXPECT_DOUBLE_EQ(decodeFrequency(101), 101);
}

TEST(FrequencyWord, EveryEditorWordRoundTrips) {
  // Truncation must not lose a tenth (e.g. 63.7 × 10 = 636.99...).
  for (int32_t w = 32768 + 190; w <= 32768 + 999; ++w)
    EXPECT_EQ(encodeFrequency(decodeFrequency(w)), w);
  for (int32_t w = 100; w <= 20600; ++w) ASSERT_EQ(encodeFrequency(decodeFrequency(w)), w);
}

TEST(QWord, BothFormsAndEncodings) {
  EXPECT_NEAR(decodeQ(0x8000 + 2400), 7.6, 1e-12);  // thousandths form
  EXPECT_NEAR(decodeQ(240), 7.6, 1e-12);
  struct Row {
    double q;
    int32_t word;
  } rows[] = {{7.6, 240}, {0.4, 12}, {128, 4042}};
  for (const Row& r : rows) EXPECT_EQ(encodeQ(r.q), r.word) << r.q;
  EXPECT_EQ(decodeQ(0), 0);
  EXPECT_EQ(decodeQ(0x8000), 0);
}

TEST(QWord, StepsSurviveTheRegister) {
  // What the editor writes for a step reads back as the same step, except
  // 0.47: its word 14 decodes to 0.443, which the step search shows as 0.45.
  for (int i = 0; i < 101; ++i)
    EXPECT_EQ(qStepIndex(decodeQ(encodeQ(Q_STEPS[i]))), i == 3 ? 2 : i)
        << "step " << i << " = " << Q_STEPS[i];
}

TEST(QWord, ClampKeepsTheResponseDefined) {
  EXPECT_EQ(clampDisplayedQ(0), kMinDisplayedQ);
  EXPECT_EQ(clampDisplayedQ(std::nan("")), kMinDisplayedQ);
  EXPECT_EQ(clampDisplayedQ(decodeQ(0x7FFF)), kMaxDisplayedQ);
  EXPECT_EQ(clampDisplayedQ(7.6), 7.6);
}

TEST(GainWord, EqBandAndThreshold) {
  EXPECT_EQ(encodeGain(-20), 300);
  EXPECT_EQ(encodeGain(0), 500);
  EXPECT_EQ(encodeGain(20), 700);
  EXPECT_EQ(encodeThreshold(-30), 200);
  EXPECT_EQ(encodeThreshold(6), 560);
  EXPECT_DOUBLE_EQ(decodeGain(525), 2.5);
  for (int32_t w = 200; w <= 700; ++w) {
    EXPECT_EQ(encodeGain(decodeGain(w)), w);
    EXPECT_EQ(encodeThreshold(decodeThreshold(w)), w);
  }
}

TEST(AttackWord, StepsRoundTrip) {
  EXPECT_EQ(encodeAttack(0.3), 3);
  EXPECT_EQ(encodeAttack(100), 1000);
  EXPECT_DOUBLE_EQ(decodeAttack(450), 45.0);
  for (int i = 0; i < 107; ++i)
    EXPECT_EQ(attackStepIndex(decodeAttack(encodeAttack(ATTACK_STEPS[i]))), i) << ATTACK_STEPS[i];
}

TEST(ReleaseWord, ListAndFallback) {
  const int32_t words[] = {2, 4, 6, 8, 16, 32};
  for (int i = 0; i < kReleaseEntryCount; ++i) {
    EXPECT_EQ(releaseWord(i), words[i]);
    EXPECT_EQ(releaseListPosition(words[i]), i);
  }
  EXPECT_EQ(releaseText(releaseListPosition(3)), "Atk*2");
  EXPECT_EQ(releaseText(releaseListPosition(0)), "Atk*2");
  EXPECT_EQ(releaseText(releaseListPosition(8)), "Atk*8");
  EXPECT_FALSE(releaseWord(6));
}

TEST(StepIndex, FirstStepAtOrAbove) {
  struct Row {
    const char* name;
    double value;
    int q;
  } rows[] = {{"below first", 0.1, 0},
              {"exact", 7.6, 51},
              {"between", 7.7, 52},
              {"at last", 128, 100},
              {"above last", 500, 100}};
  for (const Row& r : rows) EXPECT_EQ(qStepIndex(r.value), r.q) << r.name;
  EXPECT_EQ(attackStepIndex(0), 0);
  EXPECT_EQ(attackStepIndex(45), 51);
  EXPECT_EQ(attackStepIndex(1000), 106);
}

TEST(CrossoverCode, SpecimenCodes) {
  EXPECT_EQ(crossoverCode(CrossoverDirection::LowPass, 2, 7), 31);   // link_ri 48 dB/Oct
  EXPECT_EQ(crossoverCode(CrossoverDirection::HighPass, 1, 8), 66);  // bassel OFF
  EXPECT_EQ(crossoverCode(CrossoverDirection::HighPass, 0, 0), 40);
  EXPECT_EQ(crossoverCode(CrossoverDirection::LowPass, 0, 2), 15);
  EXPECT_FALSE(crossoverCode(CrossoverDirection::HighPass, 3, 0));
  EXPECT_FALSE(crossoverCode(CrossoverDirection::HighPass, 0, 9));
}

TEST(CrossoverCode, EveryCodeDecodesToItsListPositions) {
  int listed = 0;
  for (int code = -2; code < 80; ++code) {
    const auto kind = decodeCrossoverCode(code);
    if (!kind) {
      EXPECT_TRUE(code < 8 || (code >= 32 && code < 40) || code > 69) << code;
      continue;
    }
    ++listed;
    EXPECT_EQ(kind->direction,
              code % 2 ? CrossoverDirection::LowPass : CrossoverDirection::HighPass);
    EXPECT_EQ(crossoverCode(kind->direction, kind->family, kind->slope), code);
    EXPECT_TRUE(isAcceptedCrossoverCode(code));
  }
  EXPECT_EQ(listed, 2 * kCrossoverFamilyCount * kCrossoverSlopeCount);
}

TEST(RegisterAddress, Table) {
  using namespace EqParamIndex;
  struct Row {
    const char* name;
    int channel, param, address;
  } rows[] = {
      {"hp code ch0", 0, kHighPassCode, 138},
      {"hp freq ch0", 0, kHighPassFrequency, 139},
      {"lp code ch0", 0, kLowPassCode, 142},
      {"lp freq ch0", 0, kLowPassFrequency, 143},
      {"band 1 freq", 0, kBandFrequency, 147},
      {"band 1 gain", 0, kBandGain, 148},
      {"band 1 Q", 0, kBandQ, 149},
      {"band 31 Q ch0", 0, kBandQ + 30, 269},
      {"band 5 gain ch2", 2, kBandGain + 4, 148 + 16 + 272},
      {"ch1 starts", 1, kHighPassCode, 274},
      {"band 31 Q ch7", 7, kBandQ + 30, 1221},
      {"attack ch3", 3, kLimiterAttack, 105},
      {"release ch3", 3, kLimiterRelease, 106},
      {"threshold ch3", 3, kLimiterThreshold, 107},
      {"slope marker", 0, kHighPassSlope, 138},
  };
  for (const Row& r : rows) EXPECT_EQ(eqRegisterAddress(r.channel, r.param), r.address) << r.name;
  EXPECT_FALSE(eqRegisterAddress(8, kBandGain));
  EXPECT_FALSE(eqRegisterAddress(-1, kBandGain));
  EXPECT_FALSE(eqRegisterAddress(0, 102));
}

TEST(LinkMap, SlotOfEveryParamAndOneRegisterPerSlot) {
  using namespace EqParamIndex;
  for (int b = 0; b < kBandCount; ++b) {
    EXPECT_EQ(linkSlotOfParam(kBandFrequency + b), 4 * b + 1) << b;
    EXPECT_EQ(linkSlotOfParam(kBandQ + b), 4 * b + 3) << b;
    EXPECT_EQ(linkSlotOfParam(kBandGain + b), 4 * b + 2) << b;
  }
  struct Row {
    int param, slot;
  } rows[] = {{kHighPassFrequency, 129}, {kHighPassCode, 130},     {kLowPassFrequency, 126},
              {kLowPassCode, 127},       {kLimiterThreshold, 133}, {kLimiterAttack, 134},
              {kLimiterRelease, 135}};
  for (const Row& r : rows) EXPECT_EQ(linkSlotOfParam(r.param), r.slot) << r.param;
  EXPECT_FALSE(linkSlotOfParam(-1));
  EXPECT_FALSE(linkSlotOfParam(kCount));
  // No two slots of a channel name the same register.
  std::set<int> addresses;
  for (int s = 0; s < kLinkSlotCount; ++s) {
    const auto a = linkSlotAddress(5, s);
    ASSERT_TRUE(a) << s;
    EXPECT_TRUE(addresses.insert(*a).second) << "slot " << s << " repeats " << *a;
  }
}

TEST(LinkMap, SlotsAndParams) {
  struct Row {
    int slot, address;
  } rows[] = {{0, 146 + 136},   {123, 269 + 136}, {124, 27},        {125, 3},
              {126, 143 + 136}, {127, 142 + 136}, {128, 144 + 136}, {129, 139 + 136},
              {130, 138 + 136}, {131, 140 + 136}, {132, 74},        {133, 86 + 7},
              {134, 84 + 7},    {135, 85 + 7}};
  for (const Row& r : rows) EXPECT_EQ(linkSlotAddress(1, r.slot), r.address) << r.slot;
  EXPECT_FALSE(linkSlotAddress(8, 0));
  EXPECT_FALSE(linkSlotAddress(0, 136));
  // The slot of every parameter names the parameter's own register.
  for (int p = 0; p < EqParamIndex::kCount; ++p) {
    const auto slot = linkSlotOfParam(p);
    if (p == EqParamIndex::kHighPassSlope || p == EqParamIndex::kLowPassSlope) {
      EXPECT_FALSE(slot);
      continue;
    }
    ASSERT_TRUE(slot) << p;
    for (int c = 0; c < kChannelCount; ++c)
      EXPECT_EQ(linkSlotAddress(c, *slot), eqRegisterAddress(c, p)) << p;
  }
}

}  // namespace
}  // namespace zr78
