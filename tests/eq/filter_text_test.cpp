// Reading and writing the filter text of room-EQ measurement software: what
// is read, what is refused with which line, and that encodings and line ends
// make no difference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decimal_comma_locale.h"
#include "eq/filter_text.h"
#include "eq/filter_texts.h"

namespace zr78 {
namespace {

using test::kIssueExample;
using test::kTenFilterFile;

FilterTextParse parsed(const std::string& text) { return parseFilterText(text); }

TEST(FilterTextTest, TheIssueExampleReadsFilterByFilter) {
  const FilterTextParse p = parsed(kIssueExample);
  ASSERT_TRUE(p.ok()) << filterTextErrorsText(p.errors);
  ASSERT_TRUE(p.text.preampDb);
  EXPECT_EQ(*p.text.preampDb, -4.5);
  EXPECT_EQ(p.text.preampLine, 1);
  ASSERT_EQ(p.text.filters.size(), 5u);
  const TextFilter& f1 = p.text.filters[0];
  EXPECT_EQ(f1.line, 2);
  EXPECT_EQ(f1.number, 1);
  EXPECT_TRUE(f1.enabled);
  EXPECT_EQ(f1.kind, FilterKind::Peaking);
  EXPECT_EQ(f1.frequencyHz, 63.5);
  EXPECT_EQ(f1.gainDb, -5.2);
  EXPECT_EQ(f1.q, 4.10);
  EXPECT_EQ(f1.text, "ON PK Fc 63.5 Hz Gain -5.2 dB Q 4.10");
  EXPECT_FALSE(p.text.filters[2].enabled);
  EXPECT_TRUE(p.text.filters[2].readable);
  EXPECT_EQ(p.text.filters[2].frequencyHz, 8000);
  EXPECT_EQ(p.text.filters[3].kind, FilterKind::HighPass);
  EXPECT_EQ(p.text.filters[3].frequencyHz, 80);
  EXPECT_NEAR(p.text.filters[3].q, kButterworthQ, 1e-12);
  EXPECT_EQ(p.text.filters[4].kind, FilterKind::None);
  EXPECT_EQ(p.text.filters[4].line, 6);
}

TEST(FilterTextTest, AMeasurementFileWithHeadersAndCrlfGivesItsTenFilters) {
  const FilterTextParse p = parsed(kTenFilterFile);
  ASSERT_TRUE(p.ok()) << filterTextErrorsText(p.errors);
  EXPECT_FALSE(p.text.preampDb);
  ASSERT_EQ(p.text.filters.size(), 12u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p.text.filters[i].kind, FilterKind::Peaking) << i;
    EXPECT_EQ(p.text.filters[i].line, 10 + i) << "CRLF counts as one line end";
    EXPECT_EQ(p.text.filters[i].number, i + 1);
  }
  EXPECT_EQ(p.text.filters[0].frequencyHz, 38.9);
  EXPECT_EQ(p.text.filters[9].q, 2.7);
  EXPECT_EQ(p.text.filters[3].text, "ON PK Fc 124.5 Hz Gain -6.30 dB Q 6.800") << "blanks collapsed";
}

// Spellings of one filter that measurement programs and PC equalisers write.
TEST(FilterTextTest, SpellingsOfOneFilterReadTheSame) {
  const char* const spellings[] = {
      "Filter 1: ON PK Fc 63.5 Hz Gain -5.2 dB Q 4.10",
      "Filter  1: ON  PK       Fc   63.50 Hz  Gain  -5.20 dB  Q  4.100",
      "Filter 1:ON PK Fc 63.5Hz Gain -5.2dB Q4.1",
      "filter 1: on pk fc 63.5 hz gain -5.2 db q 4.1",
      "Filter: ON PEQ Fc 63.5 Hz Gain -5.2 dB Q 4.10",
      "Filter 7: ON Modal Fc 63.5 Hz Gain -5.2 dB Q 4.10",
      "Filter 1: ON PK Gain -5.2 dB Q 4.10 Fc 63.5 Hz",
      "Filter 1: ON PK Fc 0.0635 kHz Gain -5.2 dB Q 4.10",
      "\tFilter 1: ON PK Fc +63.5 Hz Gain -5.2 dB Q 4.1 \t",
  };
  for (const char* text : spellings) {
    const FilterTextParse p = parsed(text);
    ASSERT_TRUE(p.ok()) << text << ": " << filterTextErrorsText(p.errors);
    ASSERT_EQ(p.text.filters.size(), 1u) << text;
    const TextFilter& f = p.text.filters[0];
    EXPECT_EQ(f.kind, FilterKind::Peaking) << text;
    EXPECT_DOUBLE_EQ(f.frequencyHz, 63.5) << text;
    EXPECT_EQ(f.gainDb, -5.2) << text;
    EXPECT_EQ(f.q, 4.1) << text;
  }
}

TEST(FilterTextTest, BandwidthInOctavesBecomesQ) {
  const struct {
    const char* text;
    double q;
  } cases[] = {
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB BW Oct 1.0", 1.4142135623730951},  // sqrt(2) / (2 - 1)
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB BW Oct 2", 4.0 / 6.0},             // 2 / 3
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB BW Oct 0.3333", 4.3189},  // a third of an octave
  };
  for (const auto& c : cases) {
    const FilterTextParse p = parsed(c.text);
    ASSERT_TRUE(p.ok()) << c.text << ": " << filterTextErrorsText(p.errors);
    EXPECT_NEAR(p.text.filters[0].q, c.q, 1e-4) << c.text;
    EXPECT_TRUE(p.text.filters[0].bandwidthOct) << c.text;
  }
}

TEST(FilterTextTest, CrossoversAndOtherLinesThatAreRead) {
  const FilterTextParse p = parsed(
      "# written by hand\n"
      "Channel: all\n"
      "Device: Speakers\n"
      "Preamp -2 dB\n"
      "Filter 1: ON HPQ Fc 45 Hz Q 0.707\n"
      "Filter 2: ON LPQ Fc 12 kHz Q 0.71\n"
      "Filter 3: OFF LS Fc 100 Hz Gain 3 dB Q 0.7\n"  // disabled: asks for nothing
      "Filter 4: OFF PK Fc ??? Hz\n");
  ASSERT_TRUE(p.ok()) << filterTextErrorsText(p.errors);
  EXPECT_EQ(*p.text.preampDb, -2);
  ASSERT_EQ(p.text.filters.size(), 4u);
  EXPECT_EQ(p.text.filters[0].kind, FilterKind::HighPass);
  EXPECT_EQ(p.text.filters[0].q, 0.707);
  EXPECT_EQ(p.text.filters[1].kind, FilterKind::LowPass);
  EXPECT_EQ(p.text.filters[1].frequencyHz, 12000);
  EXPECT_FALSE(p.text.filters[2].readable);
  EXPECT_FALSE(p.text.filters[3].readable);
}

// Each refused text with the line named and a word of the reason.
TEST(FilterTextTest, RefusedLinesNameTheirLineAndReason) {
  const struct {
    std::string text;
    int line;
    const char* reason;
  } cases[] = {
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 2\nFilter 2: ON LS Fc 100 Hz Gain 3 dB Q 0.7", 2, "shelf"},
      {"x\ny\nFilter 3: ON HS Fc 8000 Hz Gain -2 dB", 3, "shelf"},
      {"Filter 1: ON LSC Fc 100 Hz Gain 3 dB Q 0.7", 1, "shelf"},
      {"Filter 1: ON HSC 6 dB Fc 100 Hz Gain 3 dB", 1, "shelf"},
      {"Filter 1: ON AP Fc 100 Hz Q 0.7", 1, "all-pass"},
      {"Filter 1: ON NO Fc 100 Hz", 1, "notch"},
      {"Filter 1: ON BP Fc 100 Hz Q 2", 1, "band-pass"},
      {"Filter 1: ON XY Fc 100 Hz", 1, "unknown filter type 'XY'"},
      {"Filter 1: ON PK Fc abc Hz Gain -3 dB Q 2", 1, "Fc has no readable value ('abc')"},
      {"Filter 1: ON PK Fc 100 Hz Gain -5,2 dB Q 2", 1, "decimals are written with '.'"},
      {"Filter 1: ON PK Fc 1.2.3 Hz Gain -3 dB Q 2", 1, "'1.2.3' after Fc is not a number"},
      {"Filter 1: ON PK Fc 100 Hz Gain dB Q 2", 1, "Gain has no readable value"},
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB Q", 1, "Q has no value"},
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB", 1, "no Q"},
      {"Filter 1: ON PK Fc 100 Hz Q 2", 1, "no Gain"},
      {"Filter 1: ON PK Gain -3 dB Q 2", 1, "no Fc"},
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 2 BW Oct 1", 1, "both Q and BW Oct"},
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB BW 100", 1, "octaves"},
      {"Filter 1: ON PK Fc 100 Hz Fc 200 Hz Gain -3 dB Q 2", 1, "Fc is given twice"},
      {"Filter 1: ON PK Fc 0 Hz Gain -3 dB Q 2", 1, "above 0 Hz"},
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 0", 1, "Q must be above 0"},
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 2 T60 1", 1, "unexpected 'T'"},
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 4.1e2", 1, "unexpected 'e'"},
      {"Filter 1: ON HP Fc 80 Hz Gain 3 dB", 1, "no Gain"},
      {"Filter 1: ON HPQ Fc 80 Hz Q 0.5", 1, "Q 0.707"},
      {"Filter 1: ON LPQ Fc 80 Hz", 1, "LPQ has no Q"},
      {"Filter 1: ON HP Fc 80 Hz\nFilter 2: ON HP Fc 60 Hz", 2, "second high-pass filter (the first is on line 1)"},
      {"Filter 1: ON LP Fc 8000 Hz\nFilter 2: ON LPQ Fc 9000 Hz Q 0.707", 2, "second low-pass"},
      {"Filter 3: PK Fc 100 Hz Gain -3 dB Q 2", 1, "ON or OFF expected"},
      {"Filter 1: ON", 1, "filter type is missing"},
      {"Preamp: -3 dB\nPreamp: -1 dB\nFilter 1: ON None", 2, "second Preamp line (the first is on line 1)"},
      {"Preamp: loud\nFilter 1: ON None", 1, "Preamp has no readable value"},
      {"Channel: L\nFilter 1: ON PK Fc 100 Hz Gain -3 dB Q 2", 1, "several channels"},
      {"GraphicEQ: 20 -3; 40 -2\nFilter 1: ON None", 1, "'GraphicEQ:' lines cannot be imported"},
      {"Include: left.txt", 1, "'Include:' lines cannot be imported"},
      {"", 0, "no filter lines"},
      {"Preamp: -3 dB\nRoom-EQ software V5.20\n", 0, "not a filter text"},
      {std::string("\x80\x81\0\x07garbage\xFF", 12), 0, "no filter lines"},
  };
  for (const auto& c : cases) {
    const FilterTextParse p = parsed(c.text);
    ASSERT_EQ(p.errors.size(), 1u) << c.text << ": " << filterTextErrorsText(p.errors);
    EXPECT_EQ(p.errors[0].line, c.line) << c.text;
    EXPECT_NE(p.errors[0].reason.find(c.reason), std::string::npos) << c.text << ": " << p.errors[0].reason;
  }
}

TEST(FilterTextTest, ThirtyTwoPeakingFiltersAreRefusedAtTheThirtySecond) {
  std::string text = "Filter Settings file\n";
  for (int i = 1; i <= 32; ++i) text += "Filter " + std::to_string(i) + ": ON PK Fc " + std::to_string(40 * i) + " Hz Gain -1 dB Q 2\n";
  const FilterTextParse p = parsed(text);
  ASSERT_EQ(p.errors.size(), 1u) << filterTextErrorsText(p.errors);
  EXPECT_EQ(p.errors[0].line, 33);
  EXPECT_NE(p.errors[0].reason.find("more than 31 peaking filters"), std::string::npos);

  // 31 enabled and a disabled 32nd fit.
  text.replace(text.rfind("ON"), 2, "OFF");
  EXPECT_TRUE(parsed(text).ok()) << filterTextErrorsText(parsed(text).errors);
}

TEST(FilterTextTest, EveryRefusedLineIsListed) {
  const FilterTextParse p = parsed(
      "Filter 1: ON LS Fc 100 Hz Gain 3 dB Q 0.7\n"
      "Filter 2: ON PK Fc 200 Hz Gain -3 dB Q 2\n"
      "Filter 3: ON PK Fc x Hz Gain -3 dB Q 2\n");
  ASSERT_EQ(p.errors.size(), 2u);
  EXPECT_EQ(p.errors[0].line, 1);
  EXPECT_EQ(p.errors[1].line, 3);
  EXPECT_EQ(filterTextErrorsText(p.errors).substr(0, 8), "line 1: ");
}

std::string utf16(const std::string& ascii, bool bigEndian, bool bom) {
  std::string out;
  if (bom) out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) {
    out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return out;
}

// The same text in every encoding and line end reads into the same filters
// at the same lines.
TEST(FilterTextTest, EncodingsAndLineEndsReadTheSame) {
  const std::string lf = std::string("Notes: caf\xC3\xA9\n") + kIssueExample;
  std::string crlf, cr;
  for (const char c : lf) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    cr += c == '\n' ? '\r' : c;
  }
  std::string ascii = kIssueExample;
  const std::vector<std::pair<const char*, std::string>> variants = {
      {"UTF-8", lf},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + crlf},
      {"CR only", cr},
      {"UTF-16 LE with BOM", utf16("Notes: x\r\n" + ascii, false, true)},
      {"UTF-16 BE with BOM", utf16("Notes: x\r\n" + ascii, true, true)},
      {"UTF-16 LE without BOM", utf16("Notes: x\n" + ascii, false, false)},
      {"Latin-1", std::string("Notes: caf\xE9\r\n") + ascii},
  };
  const FilterTextParse reference = parsed(lf);
  ASSERT_TRUE(reference.ok());
  for (const auto& [name, bytes] : variants) {
    const FilterTextParse p = parsed(bytes);
    ASSERT_TRUE(p.ok()) << name << ": " << filterTextErrorsText(p.errors);
    ASSERT_EQ(p.text.filters.size(), reference.text.filters.size()) << name;
    EXPECT_EQ(p.text.preampLine, reference.text.preampLine) << name;
    for (size_t i = 0; i < p.text.filters.size(); ++i) {
      const TextFilter &a = p.text.filters[i], &b = reference.text.filters[i];
      EXPECT_EQ(a.line, b.line) << name;
      EXPECT_EQ(a.text, b.text) << name;
      EXPECT_EQ(a.frequencyHz, b.frequencyHz) << name;
      EXPECT_EQ(a.gainDb, b.gainDb) << name;
      EXPECT_EQ(a.q, b.q) << name;
    }
  }
  EXPECT_EQ(filterTextAsUtf8("caf\xE9"), "caf\xC3\xA9") << "Latin-1 to UTF-8";
  EXPECT_EQ(filterTextAsUtf8("\xEF\xBB\xBFok\xC3"), "ok\xEF\xBF\xBD") << "a broken sequence after a BOM";
  EXPECT_EQ(filterTextAsUtf8(std::string("\xFE\xFF\xD8\0", 4)), "\xEF\xBF\xBD") << "a lone surrogate";
}

TEST(FilterTextTest, WrittenTextReadsBackInEveryLocale) {
  test::DecimalCommaLocale comma;
  ASSERT_TRUE(comma.active());
  FilterText text;
  text.comments = {"CH3 tuned"};
  text.preampDb = -4.5;
  const auto filter = [](FilterKind kind, double hz, double gain, double q) {
    TextFilter f;
    f.enabled = true;
    f.kind = kind;
    f.frequencyHz = hz;
    f.gainDb = gain;
    f.q = q;
    return f;
  };
  text.filters = {filter(FilterKind::Peaking, 63.5, -5.2, 4.01), filter(FilterKind::Peaking, 1250, 12, 0.126),
                  filter(FilterKind::HighPass, 80, 0, kButterworthQ), filter(FilterKind::LowPass, 9000, 0, 0.71)};
  const std::string written = writeFilterText(text);
  EXPECT_EQ(written,
            "# CH3 tuned\n"
            "Preamp: -4.5 dB\n"
            "Filter 1: ON PK Fc 63.5 Hz Gain -5.2 dB Q 4.01\n"
            "Filter 2: ON PK Fc 1250 Hz Gain 12.0 dB Q 0.126\n"
            "Filter 3: ON HP Fc 80 Hz\n"
            "Filter 4: ON LPQ Fc 9000 Hz Q 0.71\n");
  const FilterTextParse back = parseFilterText(written);
  ASSERT_TRUE(back.ok()) << filterTextErrorsText(back.errors);
  ASSERT_EQ(back.text.filters.size(), 4u);
  EXPECT_EQ(*back.text.preampDb, -4.5);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(back.text.filters[i].kind, text.filters[i].kind);
    EXPECT_EQ(back.text.filters[i].frequencyHz, text.filters[i].frequencyHz);
    EXPECT_NEAR(back.text.filters[i].q, text.filters[i].q, 1e-9);
  }
}

}  // namespace
}  // namespace zr78
