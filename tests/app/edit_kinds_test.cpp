#include "app/edit_kinds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "controls/edit_rules.h"
#include "decimal_comma_locale.h"

namespace zr78 {
namespace {

EditRules withRange(EditRules rules, int minimum, int maximum) {
  rules.minimum = minimum;
  rules.maximum = maximum;
  return rules;
}

const EditRules kGainDb = plainNumberRules("%0.0fdB", -10, 10);
const EditRules kGainOff = channelGainEdit();
const EditRules kBalance = balanceEdit(0, 20);
const EditRules kDelayMs = delayEdit(DelayUnit::Milliseconds);
const EditRules kDelayCm = delayEdit(DelayUnit::Centimetres);
const EditRules kDelayInch = delayEdit(DelayUnit::Inches);
const EditRules kTimeSteps = timeStepEdit();
const EditRules kGridFrequency = gridFrequencyEdit();
const EditRules kCrossoverHz = frequencyEdit("%0.0fHz", 19, 20000);
const EditRules kQ = qEdit();
const EditRules kAttack = attackEdit();
const EditRules kBandGain = bandGainEdit();
const EditRules kThreshold = thresholdEdit();

struct ShownCase {
  const char* name;
  EditRules rules;
  int value;
  const char* shown;
};

const ShownCase kShownCases[] = {
    {"PlainDb", kGainDb, -3, "-3dB"},
    {"PlainClampsFirst", kGainDb, 99, "10dB"},
    {"GainOffAtMinimum", kGainOff, -60, "OFF"},
    {"GainAboveMinimum", kGainOff, -20, "-20dB"},
    {"BalanceCentre", kBalance, 10, "Center"},
    {"BalanceLeft", kBalance, 7, "L3"},
    {"BalanceRight", kBalance, 13, "R3"},
    {"DelayMs", kDelayMs, 48, "1.000"},
    {"DelayMsFraction", kDelayMs, 1, "0.021"},
    {"DelayCm", kDelayCm, 48, "34.60"},
    {"DelayInch", kDelayInch, 48, "13.62"},
    {"TimeStep", kTimeSteps, 8, "500ms"},
    {"TimeLast", kTimeSteps, 80, "5000ms"},
    {"FrequencyFirst", kGridFrequency, 0, "19.7"},
    {"FrequencyWhole", kGridFrequency, 100, "135"},
    {"FrequencyRepeatedTop", kGridFrequency, 363, "20600"},
    {"LevelOff", kCrossoverHz, 19, "OFF"},
    {"LevelHz", kCrossoverHz, 1000, "1000Hz"},
    {"BandFrequency", frequencyEdit("%0.0f", 20, 20000), 63, "63"},
    {"QSmall", kQ, 0, "0.40"},
    {"QDefault", kQ, 51, "7.60"},
    {"QMiddle", kQ, 59, "12.0"},
    {"QLarge", kQ, 100, "128"},
    {"AttackFraction", kAttack, 0, "0.3ms"},
    {"AttackWhole", kAttack, 7, "1ms"},
    {"PlainWithDivisor", kBandGain, -35, "-3.5"},
    {"Threshold", kThreshold, -300, "-30.0 dBu"},
    {"TablePositionBeyondTheTable", withRange(qEdit(), 0, 500), 500, "128"},
    {"UnsafeFormatFallsBack", plainNumberRules("%s%s", 0, 10), 5, "5"},
};

struct TypedCase {
  const char* name;
  EditRules rules;
  const char* text;
  int value;
};

const TypedCase kTypedCases[] = {
    {"DbSuffixDropped", kGainDb, "-3dB", -3},
    {"DbAtTheMinimum", plainNumberRules("%0.0fdB", -3, 10), "-3dB", -3},
    {"LettersGiveZeroThenMinimum", plainNumberRules("%0.0fdB", 5, 10), "abc", 5},
    {"EmptyIsZero", kGainDb, "", 0},
    {"AboveMaximum", kGainDb, "25", 10},
    {"GainOff", kGainOff, "OFF", -60},
    {"GainNumber", kGainOff, "-12", -12},
    {"BalanceRight", kBalance, "R3", 13},
    {"BalanceLeft", kBalance, "L3", 7},
    {"BalancePlain", kBalance, "5", 5},
    {"DelayMsHalf", kDelayMs, "0.5", 24},
    {"DelayMsOneAndAHalf", kDelayMs, "1.5", 72},
    {"DelayCmText", kDelayCm, "34.6", 48},
    {"DelayInchText", kDelayInch, "13.62", 48},
    {"TimeExact", kTimeSteps, "500", 8},
    {"TimeBetweenStepsRoundsUp", kTimeSteps, "510", 9},
    {"TimeZero", kTimeSteps, "0", 0},
    {"TimeBeyond", kTimeSteps, "6000", 80},
    {"FrequencyLow", kGridFrequency, "19", 0},
    {"FrequencyExact", kGridFrequency, "135", 100},
    {"FrequencyOnTheRepeatedTop", kGridFrequency, "20600", 362},
    {"FrequencyTop", kGridFrequency, "99999", 362},
    {"LevelHz", kCrossoverHz, "1000Hz", 1000},
    {"LevelFraction", kCrossoverHz, "99.9", 99},
    {"QBelowTable", kQ, "0.3", 0},
    {"QExact", kQ, "12", 59},
    {"QOneAndAHalf", kQ, "1.5", 23},
    {"QTop", kQ, "200", 100},
    {"AttackFirst", kAttack, "0.3", 0},
    {"AttackFraction", kAttack, "0.55", 3},
    {"AttackWhole", kAttack, "50ms", 56},
    {"AttackTop", kAttack, "1000", 106},
    {"DivisorScalesTheNumber", kBandGain, "-3.5", -35},
    {"ThresholdDbu", kThreshold, "-12.5dBu", -125},
    {"HugeNumberStaysDefined", kBandGain, "99999999999999999999999", 200},
};

// Test names and failures show the case by its name.
void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.name; }
void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.name; }

class EditShown : public ::testing::TestWithParam<ShownCase> {};

TEST_P(EditShown, ValueIsShownInUserUnits) {
  const ShownCase& c = GetParam();
  EXPECT_EQ(shownText(c.rules, c.value), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EditShown, ::testing::ValuesIn(kShownCases),
                         [](const auto& info) { return std::string(info.param.name); });

class EditTyped : public ::testing::TestWithParam<TypedCase> {};

TEST_P(EditTyped, TypedTextBecomesAClampedValue) {
  const TypedCase& c = GetParam();
  EXPECT_EQ(typedValue(c.rules, c.text), c.value);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EditTyped, ::testing::ValuesIn(kTypedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditKinds, NumbersFromCodeTakeDelaysInMilliseconds) {
  EXPECT_EQ(valueFromNumber(kDelayCm, 1.0), 48);
  EXPECT_EQ(valueFromNumber(kDelayInch, 1.0), 48);
  EXPECT_EQ(valueFromNumber(kDelayMs, 0.5), 24);
  EXPECT_EQ(valueFromNumber(kQ, 7.6), 51);
  EXPECT_EQ(valueFromNumber(kGainOff, -100), -60);
  EXPECT_EQ(valueFromNumber(kBandGain, -2.5), -25);
  EXPECT_EQ(valueFromNumber(kBalance, 3), 3) << "no text: neither L nor R";
}

TEST(EditKinds, ValuesReadBackInDisplayUnits) {
  EXPECT_DOUBLE_EQ(displayValue(kDelayMs, 48), 1.0005);
  EXPECT_DOUBLE_EQ(displayValue(kDelayCm, 48), 1.0005) << "milliseconds in every unit";
  EXPECT_DOUBLE_EQ(displayValue(kQ, 0), 0.4);
  EXPECT_DOUBLE_EQ(displayValue(kQ, -1), 0.0);
  EXPECT_DOUBLE_EQ(displayValue(kAttack, 7), 1.0);
  EXPECT_DOUBLE_EQ(displayValue(kGridFrequency, 363), 20600.0);
  EXPECT_DOUBLE_EQ(displayValue(kTimeSteps, 8), 500.0);
  EXPECT_DOUBLE_EQ(displayValue(kBandGain, -35), -3.5);
}

// Qt sets the process locale from the environment; with a decimal comma,
// printf would write "34,60" and strtod read "1.5" as 1. The fields must show
// and read exactly what they do in the C locale.
TEST(EditKinds, ShowAndReadTheSameUnderADecimalCommaLocale) {
  test::DecimalCommaLocale locale;
  ASSERT_TRUE(locale.active()) << test::kNoDecimalCommaLocale;
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  ASSERT_STREQ(probe, "1,5") << "the locale must bite printf for this test to mean anything";
  for (const ShownCase& c : kShownCases) EXPECT_EQ(shownText(c.rules, c.value), c.shown) << c.name;
  for (const TypedCase& c : kTypedCases) EXPECT_EQ(typedValue(c.rules, c.text), c.value) << c.name;
  EXPECT_EQ(valueFromNumber(kDelayMs, 1.5), 72);
  EXPECT_DOUBLE_EQ(displayValue(kBandGain, 15), 1.5);
}

}  // namespace
}  // namespace zr78
