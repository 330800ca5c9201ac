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

const EditRules GAIN_DB = plainNumberRules("%0.0fdB", -10, 10);
const EditRules GAIN_OFF = channelGainEdit();
const EditRules BALANCE = balanceEdit(0, 20);
const EditRules DELAY_MS = delayEdit(DelayUnit::Milliseconds);
const EditRules DELAY_CM = delayEdit(DelayUnit::Centimetres);
const EditRules DELAY_INCH = delayEdit(DelayUnit::Inches);
const EditRules TIME = timeStepEdit();
const EditRules FREQUENCY = gridFrequencyEdit();
const EditRules LEVEL = frequencyEdit("%0.0fHz", 19, 20000);
const EditRules Q = qEdit();
const EditRules ATTACK = attackEdit();
const EditRules BAND_GAIN = bandGainEdit();
const EditRules THRESHOLD = thresholdEdit();

struct ShownCase {
  const char* name;
  EditRules rules;
  int value;
  const char* shown;
};

const ShownCase kShownCases[] = {
    {"PlainDb", GAIN_DB, -3, "-3dB"},
    {"PlainClampsFirst", GAIN_DB, 99, "10dB"},
    {"GainOffAtMinimum", GAIN_OFF, -60, "OFF"},
    {"GainAboveMinimum", GAIN_OFF, -20, "-20dB"},
    {"BalanceCentre", BALANCE, 10, "Center"},
    {"BalanceLeft", BALANCE, 7, "L3"},
    {"BalanceRight", BALANCE, 13, "R3"},
    {"DelayMs", DELAY_MS, 48, "1.000"},
    {"DelayMsFraction", DELAY_MS, 1, "0.021"},
    {"DelayCm", DELAY_CM, 48, "34.60"},
    {"DelayInch", DELAY_INCH, 48, "13.62"},
    {"TimeStep", TIME, 8, "500ms"},
    {"TimeLast", TIME, 80, "5000ms"},
    {"FrequencyFirst", FREQUENCY, 0, "19.7"},
    {"FrequencyWhole", FREQUENCY, 100, "135"},
    {"FrequencyRepeatedTop", FREQUENCY, 363, "20600"},
    {"LevelOff", LEVEL, 19, "OFF"},
    {"LevelHz", LEVEL, 1000, "1000Hz"},
    {"BandFrequency", frequencyEdit("%0.0f", 20, 20000), 63, "63"},
    {"QSmall", Q, 0, "0.40"},
    {"QDefault", Q, 51, "7.60"},
    {"QMiddle", Q, 59, "12.0"},
    {"QLarge", Q, 100, "128"},
    {"AttackFraction", ATTACK, 0, "0.3ms"},
    {"AttackWhole", ATTACK, 7, "1ms"},
    {"PlainWithDivisor", BAND_GAIN, -35, "-3.5"},
    {"Threshold", THRESHOLD, -300, "-30.0 dBu"},
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
    {"DbSuffixDropped", GAIN_DB, "-3dB", -3},
    {"DbAtTheMinimum", plainNumberRules("%0.0fdB", -3, 10), "-3dB", -3},
    {"LettersGiveZeroThenMinimum", plainNumberRules("%0.0fdB", 5, 10), "abc", 5},
    {"EmptyIsZero", GAIN_DB, "", 0},
    {"AboveMaximum", GAIN_DB, "25", 10},
    {"GainOff", GAIN_OFF, "OFF", -60},
    {"GainNumber", GAIN_OFF, "-12", -12},
    {"BalanceRight", BALANCE, "R3", 13},
    {"BalanceLeft", BALANCE, "L3", 7},
    {"BalancePlain", BALANCE, "5", 5},
    {"DelayMsHalf", DELAY_MS, "0.5", 24},
    {"DelayMsOneAndAHalf", DELAY_MS, "1.5", 72},
    {"DelayCmText", DELAY_CM, "34.6", 48},
    {"DelayInchText", DELAY_INCH, "13.62", 48},
    {"TimeExact", TIME, "500", 8},
    {"TimeBetweenStepsRoundsUp", TIME, "510", 9},
    {"TimeZero", TIME, "0", 0},
    {"TimeBeyond", TIME, "6000", 80},
    {"FrequencyLow", FREQUENCY, "19", 0},
    {"FrequencyExact", FREQUENCY, "135", 100},
    {"FrequencyOnTheRepeatedTop", FREQUENCY, "20600", 362},
    {"FrequencyTop", FREQUENCY, "99999", 362},
    {"LevelHz", LEVEL, "1000Hz", 1000},
    {"LevelFraction", LEVEL, "99.9", 99},
    {"QBelowTable", Q, "0.3", 0},
    {"QExact", Q, "12", 59},
    {"QOneAndAHalf", Q, "1.5", 23},
    {"QTop", Q, "200", 100},
    {"AttackFirst", ATTACK, "0.3", 0},
    {"AttackFraction", ATTACK, "0.55", 3},
    {"AttackWhole", ATTACK, "50ms", 56},
    {"AttackTop", ATTACK, "1000", 106},
    {"DivisorScalesTheNumber", BAND_GAIN, "-3.5", -35},
    {"ThresholdDbu", THRESHOLD, "-12.5dBu", -125},
    {"HugeNumberStaysDefined", BAND_GAIN, "99999999999999999999999", 200},
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
  EXPECT_EQ(valueFromNumber(DELAY_CM, 1.0), 48);
  EXPECT_EQ(valueFromNumber(DELAY_INCH, 1.0), 48);
  EXPECT_EQ(valueFromNumber(DELAY_MS, 0.5), 24);
  EXPECT_EQ(valueFromNumber(Q, 7.6), 51);
  EXPECT_EQ(valueFromNumber(GAIN_OFF, -100), -60);
  EXPECT_EQ(valueFromNumber(BAND_GAIN, -2.5), -25);
  EXPECT_EQ(valueFromNumber(BALANCE, 3), 3) << "no text: neither L nor R";
}

TEST(EditKinds, ValuesReadBackInDisplayUnits) {
  EXPECT_DOUBLE_EQ(displayValue(DELAY_MS, 48), 1.0005);
  EXPECT_DOUBLE_EQ(displayValue(DELAY_CM, 48), 1.0005) << "milliseconds in every unit";
  EXPECT_DOUBLE_EQ(displayValue(Q, 0), 0.4);
  EXPECT_DOUBLE_EQ(displayValue(Q, -1), 0.0);
  EXPECT_DOUBLE_EQ(displayValue(ATTACK, 7), 1.0);
  EXPECT_DOUBLE_EQ(displayValue(FREQUENCY, 363), 20600.0);
  EXPECT_DOUBLE_EQ(displayValue(TIME, 8), 500.0);
  EXPECT_DOUBLE_EQ(displayValue(BAND_GAIN, -35), -3.5);
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
  EXPECT_EQ(valueFromNumber(DELAY_MS, 1.5), 72);
  EXPECT_DOUBLE_EQ(displayValue(BAND_GAIN, 15), 1.5);
}

}  // namespace
}  // namespace zr78
