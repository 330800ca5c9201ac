#include "text/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "decimal_comma_locale.h"

namespace zr78 {
namespace {

template <typename T>
std::string printfInC(const char* format, T value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

constexpr double kInf = std::numeric_limits<double>::infinity();

// printf in the "C" locale is the reference for every conversion the checker
// lets through.
TEST(NumberText, PrintsLikePrintfInTheCLocale) {
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  const char* floatFormats[] = {
      "%0.0fdB", "%0.3f",   "%0.2f",    "%0.1f",  "%0.0f",   "%5.0f %%", "%0.1f dBu", "%g",
      "%.3g",    "%#.3g",   "%.0g",     "%.10g",  "%G",      "%e",       "%E",        "%10.4e",
      "%#.0e",   "%#.0f",   "%-8.2f|",  "%+08.2f", "% .1f",  "%F",       "%08.3f",    "%-+9.1e|",
  };
  const double values[] = {0.0,  -0.0,   0.5,     1.5,    2.5,    -3.5,  0.021,   34.6,    13.62,
                           1e-5, 0.0001, 0.00001, 99999.5, 123456789.0, 1e300, -1e-300, 20600,
                           kInf, -kInf,  std::nan("")};
  for (const char* format : floatFormats) {
    for (double v : values) EXPECT_EQ(formatNumber(format, v), printfInC(format, v)) << format << " " << v;
  }
  const char* intFormats[] = {"L%d", "%5d", "%-5d|", "%05d", "%+d", "% d", "%.3d", "%.0d", "%i", "%08.3d"};
  const int ints[] = {0, 7, -13, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
  for (const char* format : intFormats) {
    for (int v : ints) EXPECT_EQ(formatInteger(format, v), printfInC(format, v)) << format << " " << v;
  }
}

TEST(NumberText, UntrustedFormatsPrintTheNumberAlone) {
  struct Case {
    const char* name;
    std::string result;
    const char* expected;
  } cases[] = {
      {"two string conversions", formatNumber("%s%s", 5), "5"},
      {"integer conversion for a double", formatNumber("%ddB", 2.5), "2.5"},
      {"length modifier", formatNumber("%lf", 0.25), "0.25"},
      {"two conversions", formatNumber("%5.0f and %d", 1), "1"},
      {"lone percent", formatNumber("100%", 3), "3"},
      {"star width", formatNumber("%*f", 3), "3"},
      {"absurd width", formatNumber("%9999f", 3), "3"},
      {"no conversion", formatNumber("dB", 1e-7), "1e-07"},
      {"float conversion for an int", formatInteger("%f", 3), "3"},
      {"escaped only", formatInteger("%%d", -4), "-4"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
}

TEST(NumberText, FindsTheSingleConversion) {
  const auto c = singleConversion("Read Device Data:%5.0f %%");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->text, "%5.0f");
  EXPECT_EQ(c->position, 17u);
  EXPECT_EQ(c->width, 5);
  EXPECT_EQ(c->precision, 0);
  EXPECT_TRUE(isFloatConversion(*c));
  const auto d = singleConversion("%-+ #012.3e");
  ASSERT_TRUE(d);
  EXPECT_TRUE(d->leftAlign && d->plus && d->space && d->alternate && d->zeroPad);
  EXPECT_EQ(d->width, 12);
  for (const char* refused : {"", "%%", "%d %d", "%", "abc %", "%ld", "%5.", "%.f%"}) {
    EXPECT_FALSE(singleConversion(refused)) << refused;
  }
}

TEST(NumberText, ReadsTypedNumbers) {
  const std::string digits400(400, '9');
  const std::string tiny = "0." + std::string(400, '0') + "1";
  struct Case {
    std::string text;
    double value;
  } cases[] = {
      {"1.5", 1.5},       {"-3dB", -3},      {".5", 0.5},     {"-.5", -0.5},
      {"abc", 0},         {"", 0},           {"-", 0},        {".", 0},
      {"1.2.3", 1.2},     {"5-3", 5},        {"R3", 3},       {"1.000mS", 1},
      {"1,5", 15},  // only '.' is a decimal point; a comma is dropped like any letter
      {"99999999999999999999999", 1e23},     {digits400, kInf},
      {"-" + digits400, -kInf},              {tiny, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(typedNumber(c.text), c.value) << c.text;
  EXPECT_EQ(readNumber("12dB"), 12);
  EXPECT_EQ(readNumber(" 12"), 0) << "no blanks";
  EXPECT_EQ(readNumber("+12"), 0) << "no plus";
  EXPECT_EQ(readNumber("1e3"), 1) << "no exponent";
}

TEST(NumberText, IgnoresADecimalCommaLocale) {
  test::DecimalCommaLocale locale;
  ASSERT_TRUE(locale.active()) << test::kNoDecimalCommaLocale;
  ASSERT_EQ(printfInC("%.1f", 1.5), "1,5") << "the locale must bite printf for this test to mean anything";
  EXPECT_EQ(typedNumber("1.5"), 1.5);
  EXPECT_EQ(readNumber("0.021"), 0.021);
  EXPECT_EQ(formatNumber("%0.1f", 1.5), "1.5");
  EXPECT_EQ(formatNumber("%0.2f", 34.6), "34.60");
  EXPECT_EQ(formatNumber("%g", 0.25), "0.25");
  EXPECT_EQ(formatNumber("%.3e", 1234.5), "1.234e+03");
  EXPECT_EQ(formatInteger("%05d", -42), "-0042");
}

}  // namespace
}  // namespace zr78
