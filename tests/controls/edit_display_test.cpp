#include <gtest/gtest.h>

#include "controls/edit_display.h"
#include "eq/eq_tables.h"

namespace zr78 {
namespace {

EditDisplay field(int kind, const char* format, int minimum, int maximum, int divisor = 1) {
  return EditDisplay{kind, format, minimum, maximum, divisor};
}

const EditDisplay GAIN_DB = field(EDIT_PLAIN, "%0.0fdB", -10, 10);
const EditDisplay GAIN_OFF = field(EDIT_GAIN, "%0.0fdB", -60, 0);
const EditDisplay BALANCE = field(EDIT_BALANCE, "%0.0f", 0, 20);
const EditDisplay DELAY_MS = field(EDIT_DELAY_MS, "%0.3f", 0, 960);
const EditDisplay DELAY_CM = field(EDIT_DELAY_CM, "%0.3f", 0, 960);
const EditDisplay DELAY_INCH = field(EDIT_DELAY_INCH, "%0.3f", 0, 960);
const EditDisplay TIME = field(EDIT_TIME, "%0.0f", 0, 80);
const EditDisplay FREQUENCY = field(EDIT_FREQUENCY, "%0.0f", 0, 363);
const EditDisplay LEVEL = field(EDIT_LEVEL, "%0.0fHz", 19, 20000);
const EditDisplay Q = field(EDIT_Q, "%0.2f", 0, 101);
const EditDisplay ATTACK = field(EDIT_ATTACK, "%0.1f", 0, 107);
const EditDisplay BAND_GAIN = field(6, "%0.1f", -200, 200, 10);

struct ShownCase {
  const char* name;
  EditDisplay display;
  int value;
  const char* shown;
};

class EditShown : public ::testing::TestWithParam<ShownCase> {};

TEST_P(EditShown, ValueIsShownInUserUnits) {
  const ShownCase& c = GetParam();
  EXPECT_EQ(shownText(c.display, c.value), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EditShown,
    ::testing::Values(
        ShownCase{"PlainDb", GAIN_DB, -3, "-3dB"},
        ShownCase{"PlainClampsFirst", GAIN_DB, 99, "10dB"},
        ShownCase{"GainOffAtMinimum", GAIN_OFF, -60, "OFF"},
        ShownCase{"GainAboveMinimum", GAIN_OFF, -20, "-20dB"},
        ShownCase{"BalanceCentre", BALANCE, 10, "Center"},
        ShownCase{"BalanceLeft", BALANCE, 7, "L3"},
        ShownCase{"BalanceRight", BALANCE, 13, "R3"},
        ShownCase{"DelayMs", DELAY_MS, 48, "1.000"},
        ShownCase{"DelayMsFraction", DELAY_MS, 1, "0.021"},
        ShownCase{"DelayCm", DELAY_CM, 48, "34.60"},
        ShownCase{"DelayInch", DELAY_INCH, 48, "13.62"},
        ShownCase{"TimeStep", TIME, 8, "500ms"},
        ShownCase{"TimeLast", TIME, 80, "5000ms"},
        ShownCase{"FrequencyFirst", FREQUENCY, 0, "19.7"},
        ShownCase{"FrequencyWhole", FREQUENCY, 100, "135"},
        ShownCase{"FrequencyRepeatedTop", FREQUENCY, 363, "20600"},
        ShownCase{"LevelOff", LEVEL, 19, "OFF"},
        ShownCase{"LevelHz", LEVEL, 1000, "1000Hz"},
        ShownCase{"QSmall", Q, 0, "0.40"},
        ShownCase{"QMiddle", Q, 59, "12.0"},
        ShownCase{"QLarge", Q, 100, "128"},
        ShownCase{"AttackFraction", ATTACK, 0, "0.3ms"},
        ShownCase{"AttackWhole", ATTACK, 7, "1ms"},
        ShownCase{"PlainWithDivisor", BAND_GAIN, -35, "-3.5"},
        ShownCase{"TablePositionBeyondTheTable", field(EDIT_Q, "%0.2f", 0, 500), 500, "128"},
        ShownCase{"UnsafeFormatFallsBack", field(EDIT_PLAIN, "%s%s", 0, 10), 5, "5"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TypedCase {
  const char* name;
  EditDisplay display;
  const char* text;
  int value;
};

class EditTyped : public ::testing::TestWithParam<TypedCase> {};

TEST_P(EditTyped, TypedTextBecomesAClampedValue) {
  const TypedCase& c = GetParam();
  EXPECT_EQ(typedValue(c.display, c.text), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EditTyped,
    ::testing::Values(
        TypedCase{"DbSuffixDropped", GAIN_DB, "-3dB", -3},
        TypedCase{"DbAtTheMinimum", field(EDIT_PLAIN, "%0.0fdB", -3, 10), "-3dB", -3},
        TypedCase{"LettersGiveZeroThenMinimum", field(EDIT_PLAIN, "%0.0fdB", 5, 10), "abc", 5},
        TypedCase{"EmptyIsZero", GAIN_DB, "", 0},
        TypedCase{"AboveMaximum", GAIN_DB, "25", 10},
        TypedCase{"GainOff", GAIN_OFF, "OFF", -60},
        TypedCase{"GainNumber", GAIN_OFF, "-12", -12},
        TypedCase{"BalanceRight", BALANCE, "R3", 13},
        TypedCase{"BalanceLeft", BALANCE, "L3", 7},
        TypedCase{"BalancePlain", BALANCE, "5", 5},
        TypedCase{"DelayMsHalf", DELAY_MS, "0.5", 24},
        TypedCase{"DelayCmText", DELAY_CM, "34.6", 48},
        TypedCase{"DelayInchText", DELAY_INCH, "13.62", 48},
        TypedCase{"TimeExact", TIME, "500", 8},
        TypedCase{"TimeBetweenStepsRoundsUp", TIME, "510", 9},
        TypedCase{"TimeZero", TIME, "0", 0},
        TypedCase{"TimeBeyond", TIME, "6000", 80},
        TypedCase{"FrequencyLow", FREQUENCY, "19", 0},
        TypedCase{"FrequencyExact", FREQUENCY, "135", 100},
        TypedCase{"FrequencyTop", FREQUENCY, "99999", 362},
        TypedCase{"LevelHz", LEVEL, "1000Hz", 1000},
        TypedCase{"QBelowTable", Q, "0.3", 0},
        TypedCase{"QExact", Q, "12", 59},
        TypedCase{"QTop", Q, "200", 100},
        TypedCase{"AttackFirst", ATTACK, "0.3", 0},
        TypedCase{"AttackWhole", ATTACK, "50ms", 56},
        TypedCase{"AttackTop", ATTACK, "1000", 106},
        TypedCase{"DivisorScalesTheNumber", BAND_GAIN, "-3.5", -35},
        TypedCase{"HugeNumberStaysDefined", BAND_GAIN, "99999999999999999999999", 200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditDisplay, NumbersFromCodeTakeDelaysInMilliseconds) {
  EXPECT_EQ(valueFromNumber(DELAY_CM, 1.0), 48);
  EXPECT_EQ(valueFromNumber(DELAY_INCH, 1.0), 48);
  EXPECT_EQ(valueFromNumber(DELAY_MS, 0.5), 24);
  EXPECT_EQ(valueFromNumber(Q, 7.6), 51);
  EXPECT_EQ(valueFromNumber(GAIN_OFF, -100), -60);
}

TEST(EditDisplay, ValuesReadBackInDisplayUnits) {
  EXPECT_DOUBLE_EQ(displayValue(DELAY_MS, 48), 1.0005);
  EXPECT_DOUBLE_EQ(displayValue(Q, 0), 0.4);
  EXPECT_DOUBLE_EQ(displayValue(Q, -1), 0.0);
  EXPECT_DOUBLE_EQ(displayValue(TIME, 8), 500.0);
  EXPECT_DOUBLE_EQ(displayValue(BAND_GAIN, -35), -3.5);
}

TEST(EditDisplay, TablePositionRule) {
  const double up[] = {1, 2, 4, 8};
  EXPECT_EQ(findTablePosition(up, 4, 0.5), 1) << "first position searched is 1";
  EXPECT_EQ(findTablePosition(up, 4, 3), 2);
  EXPECT_EQ(findTablePosition(up, 4, 8), 3);
  EXPECT_EQ(findTablePosition(up, 4, 100), 3);
  EXPECT_EQ(findTablePosition(up, 0, 3), 0);
}

}  // namespace
}  // namespace zr78
