// A filter text laid onto a channel: the register words, the quantisation
// rules, the curves compared with the response computation, and export then
// import giving the same registers.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "eq/eq_model.h"
#include "eq/eq_tables.h"
#include "eq/filter_export.h"
#include "eq/filter_mapping.h"
#include "eq/filter_texts.h"
#include "eq/literal_response.h"
#include "eq/response.h"
#include "eq/tuned_channel.h"
#include "registers/default_image.h"

namespace zr78 {
namespace {

using namespace EqParamIndex;

FilterMapping mapped(const std::string& text, const RegisterImage& registers = defaultRegisterImage(),
                     int channel = 2) {
  const FilterTextParse parse = parseFilterText(text);
  EXPECT_TRUE(parse.ok()) << text << ": " << filterTextErrorsText(parse.errors);
  const std::optional<FilterMapping> mapping = mapFilters(parse.text, registers, channel);
  EXPECT_TRUE(mapping) << text;
  return mapping.value_or(FilterMapping{});
}

RegisterImage applied(const FilterMapping& m, RegisterImage registers = defaultRegisterImage()) {
  for (const RegisterWrite& w : m.writes) registers[w.address] = w.value;
  return registers;
}

int stepOf(double displayedQ) {
  return static_cast<int>(std::find(Q_STEPS.begin(), Q_STEPS.end(), displayedQ) - Q_STEPS.begin());
}

TEST(FilterMappingTest, TheIssueExampleOnChannelTwo) {
  const int c = 2;
  const FilterMapping m = mapped(test::kIssueExample);
  const RegisterImage r = applied(m);
  const auto word = [&](int param) { return r[*eqRegisterAddress(c, param)]; };
  // 63.5 Hz -> 64 Hz (tenths form below 100 Hz), -5.2 dB, Q 4.10 -> panel Q 12.7.
  EXPECT_EQ(word(kBandFrequency + 0), 0x8000 + 640);
  EXPECT_EQ(word(kBandGain + 0), 448);
  EXPECT_EQ(word(kBandQ + 0), encodeQ(12.7));
  EXPECT_EQ(word(kBandFrequency + 1), 1250);
  EXPECT_EQ(word(kBandGain + 1), 520);
  EXPECT_EQ(word(kBandQ + 1), encodeQ(4.5));
  for (int b = 2; b < kBandCount; ++b) {
    EXPECT_EQ(word(kBandFrequency + b), encodeFrequency(DEFAULT_BAND_FREQUENCIES[b])) << b;
    EXPECT_EQ(word(kBandGain + b), 500) << b;
    EXPECT_EQ(word(kBandQ + b), encodeQ(7.6)) << b;
  }
  EXPECT_EQ(word(kHighPassCode), 8);
  EXPECT_EQ(word(kHighPassFrequency), 0x8000 + 800);
  EXPECT_TRUE(m.lowPassKept);
  EXPECT_FALSE(m.highPassKept);
  for (const RegisterWrite& w : m.writes) {
    EXPECT_GE(w.address, channelBlockRegister(c, 0));
    EXPECT_LT(w.address, channelBlockRegister(c + 1, 0));
    EXPECT_NE(w.address, *eqRegisterAddress(c, kLowPassCode));
    EXPECT_NE(w.address, *eqRegisterAddress(c, kLowPassFrequency));
  }
  EXPECT_EQ(m.writes.size(), 3u * kBandCount + 2);
  EXPECT_EQ(m.preamp.outcome, PreampOutcome::ChannelGain);
  EXPECT_EQ(m.preamp.channelGainDb, -5);

  ASSERT_EQ(m.filters.size(), 4u) << "the None line asks for nothing";
  EXPECT_EQ(m.filters[2].placement, FilterPlacement::Disabled);
  const std::string report = filterMappingReport(m);
  for (const char* row : {"   2  Filter 1   ON PK Fc 63.5 Hz Gain -5.2 dB Q 4.10",
                          "band 1: 64 Hz, -5.2 dB, Q 4.01 (panel Q 12.7)", "band 2: 1250 Hz, +2.0 dB, Q 1.42 (panel Q 4.50)",
                          "   4  Filter 3   OFF PK", "off: not applied", "high-pass: Butterworth 12dB/Oct at 80 Hz",
                          "   1  Preamp     -4.5 dB", "channel gain -5 dB", "bands 3..31", "low-pass   (not in the text)"})
    EXPECT_NE(report.find(row), std::string::npos) << row << "\n" << report;
  EXPECT_EQ(report.substr(report.rfind("max_deviation_db")), deviationLine(m.deviation));
  EXPECT_GT(m.deviation.maxDb, 0.1);
  EXPECT_LT(m.deviation.maxDb, 0.5);
}

// The quantisation rules, one filter per row.
TEST(FilterMappingTest, QuantisationRules) {
  const struct {
    const char* filter;  // after "Filter 1: ON PK "
    int32_t frequencyWord;
    int32_t gainWord;
    double panelQ;
    bool frequencyLimited, gainLimited, qLimited;
  } cases[] = {
      // Frequency: the nearest whole hertz, 20..20000.
      {"Fc 63.5 Hz Gain -5.2 dB Q 4.10", 0x8000 + 640, 448, 12.7, false, false, false},
      {"Fc 63.4 Hz Gain -5.2 dB Q 4.10", 0x8000 + 630, 448, 12.7, false, false, false},
      {"Fc 99.5 Hz Gain 1 dB Q 2.4", 100, 510, 7.6, false, false, false},
      {"Fc 19.6 Hz Gain 1 dB Q 2.4", 0x8000 + 200, 510, 7.6, false, false, false},
      {"Fc 19.4 Hz Gain 1 dB Q 2.4", 0x8000 + 200, 510, 7.6, true, false, false},
      {"Fc 25000 Hz Gain 1 dB Q 2.4", 20000, 510, 7.6, true, false, false},
      {"Fc 20000.4 Hz Gain 1 dB Q 2.4", 20000, 510, 7.6, false, false, false},
      // Gain: the nearest 0.1 dB, +-20 dB.
      {"Fc 1000 Hz Gain -5.25 dB Q 2.4", 1000, 447, 7.6, false, false, false},
      {"Fc 1000 Hz Gain 5.25 dB Q 2.4", 1000, 553, 7.6, false, false, false},
      {"Fc 1000 Hz Gain 0.04 dB Q 2.4", 1000, 500, 7.6, false, false, false},
      {"Fc 1000 Hz Gain -20.04 dB Q 2.4", 1000, 300, 7.6, false, false, false},
      {"Fc 1000 Hz Gain 25 dB Q 2.4", 1000, 700, 7.6, false, true, false},
      {"Fc 1000 Hz Gain -31 dB Q 2.4", 1000, 300, 7.6, false, true, false},
      // Q (x Q_SCALE on the panel): nearest step in log scale by the realised Q.
      {"Fc 1000 Hz Gain 1 dB Q 4.10", 1000, 510, 12.7, false, false, false},   // 12.98: 13.5 is the step above
      {"Fc 1000 Hz Gain 1 dB Q 1.41", 1000, 510, 4.5, false, false, false},    // 4.465
      {"Fc 1000 Hz Gain 1 dB Q 0.16", 1000, 510, 0.53, false, false, false},   // word 16 realises 0.16 exactly
      {"Fc 1000 Hz Gain 1 dB Q 0.15", 1000, 510, 0.5, false, false, false},    // word 15
      {"Fc 1000 Hz Gain 1 dB Q 2.40", 1000, 510, 7.6, false, false, false},
      {"Fc 1000 Hz Gain 1 dB Q 40.4", 1000, 510, 128, false, false, false},
      {"Fc 1000 Hz Gain 1 dB Q 0.05", 1000, 510, 0.4, false, false, true},
      {"Fc 1000 Hz Gain 1 dB Q 50", 1000, 510, 128, false, false, true},
      {"Fc 1000 Hz Gain 1 dB BW Oct 1", 1000, 510, 4.5, false, false, false},  // Q 1.414
  };
  for (const auto& c : cases) {
    const FilterMapping m = mapped(std::string("Filter 1: ON PK ") + c.filter);
    ASSERT_EQ(m.filters.size(), 1u) << c.filter;
    const MappedFilter& f = m.filters[0];
    const RegisterImage r = applied(m);
    EXPECT_EQ(f.placement, FilterPlacement::Band) << c.filter;
    EXPECT_EQ(f.band, 0) << c.filter;
    EXPECT_EQ(r[*eqRegisterAddress(2, kBandFrequency)], c.frequencyWord) << c.filter;
    EXPECT_EQ(r[*eqRegisterAddress(2, kBandGain)], c.gainWord) << c.filter;
    EXPECT_EQ(Q_STEPS[f.qStep], c.panelQ) << c.filter;
    EXPECT_EQ(r[*eqRegisterAddress(2, kBandQ)], encodeQ(c.panelQ)) << c.filter;
    EXPECT_DOUBLE_EQ(f.q, clampDisplayedQ(decodeQ(encodeQ(c.panelQ))) / Q_SCALE) << c.filter;
    EXPECT_EQ(f.frequencyLimited, c.frequencyLimited) << c.filter;
    EXPECT_EQ(f.gainLimited, c.gainLimited) << c.filter;
    EXPECT_EQ(f.qLimited, c.qLimited) << c.filter;
  }
  // The typed-Q rule would take the step above; the import does not.
  EXPECT_EQ(Q_STEPS[qStepIndex(4.10 * Q_SCALE)], 13.5);
  EXPECT_EQ(stepOf(12.7), nearestQStep(4.10 * Q_SCALE));
}

TEST(FilterMappingTest, CrossoverAndPreampRules) {
  const struct {
    const char* text;
    int param;  // the crossover's frequency; its code is the next
    int32_t code, frequencyWord;
    bool limited;
  } crossovers[] = {
      {"Filter 1: ON HP Fc 80 Hz", kHighPassFrequency, 8, 0x8000 + 800, false},
      {"Filter 1: ON HPQ Fc 80.4 Hz Q 0.707", kHighPassFrequency, 8, 0x8000 + 800, false},
      {"Filter 1: ON HP Fc 10 Hz", kHighPassFrequency, 8, 0x8000 + 200, true},
      {"Filter 1: ON HP Fc 20000 Hz", kHighPassFrequency, 8, 20000, false},
      {"Filter 1: ON LP Fc 3150 Hz", kLowPassFrequency, 9, 3150, false},
      {"Filter 1: ON LP Fc 20000 Hz", kLowPassFrequency, 9, 19999, true},  // 20000 Hz is off
  };
  for (const auto& c : crossovers) {
    const FilterMapping m = mapped(c.text);
    const RegisterImage r = applied(m);
    EXPECT_EQ(r[*eqRegisterAddress(2, c.param + 1)], c.code) << c.text;
    EXPECT_EQ(r[*eqRegisterAddress(2, c.param)], c.frequencyWord) << c.text;
    EXPECT_EQ(m.filters[0].frequencyLimited, c.limited) << c.text;
    EXPECT_TRUE(crossoverActive(crossoverDirectionOf(c.code), decodeFrequency(c.frequencyWord), panelCrossoverLimits()))
        << c.text;
  }

  const struct {
    const char* preamp;
    PreampOutcome outcome;
    int gainDb;
    bool limited;
  } preamps[] = {
      {"Preamp: -4.5 dB", PreampOutcome::ChannelGain, -5, false},  // rounded down: never less headroom
      {"Preamp: -5 dB", PreampOutcome::ChannelGain, -5, false},
      {"Preamp: -0.3 dB", PreampOutcome::ChannelGain, -1, false},
      {"Preamp: -59.5 dB", PreampOutcome::ChannelGain, -59, true},  // -60 would switch it off
      {"Preamp: 0 dB", PreampOutcome::Ignored, 0, false},
      {"Preamp: 3.5 dB", PreampOutcome::Ignored, 0, false},
      {"", PreampOutcome::Absent, 0, false},
  };
  for (const auto& p : preamps) {
    const FilterMapping m = mapped(std::string(p.preamp) + "\nFilter 1: ON None");
    EXPECT_EQ(m.preamp.outcome, p.outcome) << p.preamp;
    EXPECT_EQ(m.preamp.channelGainDb, p.gainDb) << p.preamp;
    EXPECT_EQ(m.preamp.limited, p.limited) << p.preamp;
  }
  EXPECT_NE(filterMappingReport(mapped("Preamp: 3 dB\nFilter 1: ON None")).find("ignored"), std::string::npos);
}

TEST(FilterMappingTest, PeakingFiltersTakeBandsInOrderOfFrequency) {
  const FilterMapping m = mapped(
      "Filter 1: ON PK Fc 5000 Hz Gain -1 dB Q 1\n"
      "Filter 2: ON PK Fc 63 Hz Gain -2 dB Q 1\n"
      "Filter 3: OFF PK Fc 20 Hz Gain -9 dB Q 1\n"
      "Filter 4: ON PK Fc 1000 Hz Gain -3 dB Q 1\n"
      "Filter 5: ON PK Fc 63 Hz Gain -4 dB Q 1\n");
  const RegisterImage r = applied(m);
  const double expected[][2] = {{63, -2}, {63, -4}, {1000, -3}, {5000, -1}};
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(decodeFrequency(r[*eqRegisterAddress(2, kBandFrequency + b)]), expected[b][0]) << b;
    EXPECT_EQ(decodeGain(r[*eqRegisterAddress(2, kBandGain + b)]), expected[b][1]) << b;
  }
  EXPECT_EQ(m.usedBands, 4);
  EXPECT_EQ(m.filters[0].band, 3);
  EXPECT_EQ(m.filters[2].band, -1) << "disabled";
}

// A crossover the text does not name stays: a tweeter keeps its high-pass.
TEST(FilterMappingTest, CrossoversTheTextDoesNotNameAreKept) {
  const RegisterImage tuned = tunedImage();  // channel 2: Bessel 24 HP 120 Hz, LR 48 LP 3150 Hz
  const FilterMapping bandsOnly = mapped("Filter 1: ON PK Fc 1000 Hz Gain -3 dB Q 2.4", tuned);
  for (const RegisterWrite& w : bandsOnly.writes)
    for (const int param : {kHighPassCode, kHighPassFrequency, kLowPassCode, kLowPassFrequency})
      EXPECT_NE(w.address, *eqRegisterAddress(2, param));
  EXPECT_EQ(bandsOnly.amplifier.type[kHighPassPoint], 22);
  EXPECT_EQ(bandsOnly.amplifier.type[kLowPassPoint], 31);
  // Exact in every value: only the kept crossovers shape both curves alike.
  EXPECT_LT(bandsOnly.deviation.maxDb, 1e-6);

  const FilterMapping withHighPass = mapped("Filter 1: ON HP Fc 100 Hz", tuned);
  EXPECT_EQ(applied(withHighPass, tuned)[*eqRegisterAddress(2, kHighPassCode)], 8);
  EXPECT_EQ(withHighPass.amplifier.type[kLowPassPoint], 31);
  EXPECT_LT(withHighPass.deviation.maxDb, 1e-3) << "p 0.4999996657 against an exact Butterworth";
}

// The ten-filter file of a driver-seat measurement (38.9, 63.8, 87, 124.5,
// 182, 251, 405, 1020, 2480 and 5150 Hz, -7.8 .. +3.2 dB, Q 1.2 .. 6.8).
TEST(FilterMappingTest, ATypicalTenFilterCorrectionStaysWithinHalfADecibel) {
  const FilterMapping m = mapped(test::kTenFilterFile, defaultRegisterImage(), 0);
  EXPECT_EQ(m.usedBands, 10);
  EXPECT_GT(m.deviation.maxDb, 0.05) << "the Q steps and whole hertz cost something";
  EXPECT_LT(m.deviation.maxDb, 0.5);
  EXPECT_GE(m.deviation.atHz, 20);
  EXPECT_LE(m.deviation.atHz, 20000);
}

TEST(FilterMappingTest, TheDeviationShowsWhatTheAmplifierCannotDo) {
  // +25 dB is held at +20: 5 dB short at the centre.
  const FilterMapping boost = mapped("Filter 1: ON PK Fc 1000 Hz Gain 25 dB Q 2.4");
  EXPECT_NEAR(boost.deviation.maxDb, 5, 0.05);
  EXPECT_NEAR(boost.deviation.atHz, 1000, 10);
  // A high-pass asked for at 10 Hz is set at 20 Hz: -3 dB there instead of -0.26 dB.
  const FilterMapping highPass = mapped("Filter 1: ON HP Fc 10 Hz");
  EXPECT_NEAR(highPass.deviation.maxDb, 10 * std::log10(2.0) + 10 * std::log10(16.0 / 17), 0.05);
  EXPECT_EQ(highPass.deviation.atHz, 20);
}

// The amplifier's curve is the response computation's; the written one the
// textbook sections.
TEST(FilterMappingTest, TheCurvesAgreeWithTheResponseComputation) {
  const FilterMapping m = mapped(test::kTenFilterFile, tunedImage(), 2);
  ResponseEvaluator evaluator(panelCrossoverLimits());
  evaluator.setPlotWidth(640);
  std::vector<double> columnsDb(evaluator.columnCount()), frequencies;
  evaluator.evaluate(m.amplifier, 1.0, columnsDb.data());
  for (int i = 0; i < evaluator.columnCount(); ++i) frequencies.push_back(evaluator.columnFrequencyHz(i));
  const FilterCurves curves = filterCurves(m, frequencies);
  ASSERT_EQ(curves.amplifierDb.size(), frequencies.size());
  for (size_t i = 0; i < frequencies.size(); ++i) {
    EXPECT_NEAR(curves.amplifierDb[i], columnsDb[i], 1e-6) << frequencies[i];
    EXPECT_NEAR(curves.amplifierDb[i], literal::channelPx(m.amplifier, frequencies[i], 40), 1e-6) << frequencies[i];
  }

  // As written: the exact filters with the kept crossovers.
  const FilterTextParse parse = parseFilterText(test::kTenFilterFile);
  EqChannelState tuned;
  loadEqChannelState(tunedImage(), 2, tuned);
  for (const double hz : {20.0, 38.9, 63.8, 124.5, 1000.0, 5150.0, 20000.0}) {
    double db = literal::crossoverDb(tuned.type[kHighPassPoint], tuned.frequencyHz[kHighPassPoint], hz) +
                literal::crossoverDb(tuned.type[kLowPassPoint], tuned.frequencyHz[kLowPassPoint], hz);
    for (const TextFilter& f : parse.text.filters)
      if (f.kind == FilterKind::Peaking) db += literal::sectionDb(literal::peaking(f.frequencyHz, f.gainDb, f.q * Q_SCALE), hz);
    EXPECT_NEAR(sectionsDb(m.writtenSections, hz), db, 1e-6) << hz;
  }
  const FilterMapping highPass = mapped("Filter 1: ON HP Fc 80 Hz");
  EXPECT_NEAR(sectionsDb(highPass.writtenSections, 50),
              literal::sectionDb(literal::secondOrder(true, 80, 0.5), 50), 1e-9);
}

// A random channel whose bands lie as an import leaves them: the gains that
// are not 0 dB first, in order of frequency, the rest at their defaults;
// every other register random, crossovers of every kind.
RegisterImage randomChannel(std::mt19937& random, int channel) {
  RegisterImage r{};
  std::uniform_int_distribution<int32_t> anyWord(0, 0xFFFF);
  for (int32_t& v : r) v = anyWord(random);
  std::uniform_int_distribution<int> bandCount(0, kBandCount), hz(20, 20000), tenths(-200, 199), step(0, 100);
  const int used = bandCount(random);
  std::vector<int> frequencies(used);
  for (int& f : frequencies) f = hz(random);
  std::sort(frequencies.begin(), frequencies.end());
  for (int b = 0; b < kBandCount; ++b) {
    const bool inUse = b < used;
    const int gain = tenths(random);
    r[*eqRegisterAddress(channel, kBandFrequency + b)] =
        encodeFrequency(inUse ? frequencies[b] : DEFAULT_BAND_FREQUENCIES[b]);
    r[*eqRegisterAddress(channel, kBandGain + b)] = inUse ? 500 + (gain >= 0 ? gain + 1 : gain) : 500;
    r[*eqRegisterAddress(channel, kBandQ + b)] = encodeQ(inUse ? Q_STEPS[step(random)] : 7.6);
  }
  for (const bool highPass : {true, false}) {
    const int codeParam = highPass ? kHighPassCode : kLowPassCode;
    const int butterworth = highPass ? 8 : 9;
    std::uniform_int_distribution<int> code(0, 80), kind(0, 2);
    int32_t& codeWord = r[*eqRegisterAddress(channel, codeParam)];
    int32_t& frequencyWord = r[*eqRegisterAddress(channel, codeParam - 1)];
    switch (kind(random)) {
      case 0:  // 12 dB/Oct Butterworth, written as HP/LP
        codeWord = butterworth;
        frequencyWord = encodeFrequency(std::min(hz(random), highPass ? 20000 : 19999));
        break;
      case 1:  // any other code at any frequency word: kept
        do codeWord = code(random);
        while (codeWord == 8 || codeWord == 9);
        break;
      default:  // Butterworth 12 dB/Oct in its off position
        codeWord = butterworth;
        frequencyWord = encodeFrequency(highPass ? 19 : 20000);
    }
  }
  return r;
}

TEST(FilterMappingTest, ExportThenImportGivesTheSameRegisters) {
  std::mt19937 random(17);
  for (int round = 0; round < 200; ++round) {
    const int channel = round % kChannelCount;
    const RegisterImage before = randomChannel(random, channel);
    const std::optional<ChannelFilterExport> exported = exportChannelFilters(before, channel);
    ASSERT_TRUE(exported);
    const std::string text = writeFilterText(exported->text);
    const FilterTextParse parse = parseFilterText(text);
    ASSERT_TRUE(parse.ok()) << text << filterTextErrorsText(parse.errors);
    const std::optional<FilterMapping> mapping = mapFilters(parse.text, before, channel);
    ASSERT_TRUE(mapping);
    const RegisterImage after = applied(*mapping, before);
    for (int a = 0; a < kRegisterCount; ++a) ASSERT_EQ(after[a], before[a]) << "register " << a << "\n" << text;
    EXPECT_LT(mapping->deviation.maxDb, 1e-3) << text;
    if (exported->unwritten.empty()) {
      EXPECT_LT(exported->deviation.maxDb, 1e-3) << text;
    }
  }
}

TEST(FilterMappingTest, ExportWritesTheBandsThatShapeTheCurve) {
  const std::optional<ChannelFilterExport> exported = exportChannelFilters(tunedImage(), 2);
  ASSERT_TRUE(exported);
  const std::string text = writeFilterText(exported->text);
  EXPECT_EQ(text,
            "# ZR-78 CH3 equaliser\n"
            "# CH3 high-pass Bessel 24dB/Oct at 120 Hz is not written: the format holds 12 dB/Oct Butterworth "
            "crossovers only\n"
            "# CH3 low-pass Linkwitz-Riley 48dB/Oct at 3150 Hz is not written: the format holds 12 dB/Oct "
            "Butterworth crossovers only\n"
            "Filter 1: ON PK Fc 50.6 Hz Gain 6.0 dB Q 0.75\n"      // the default image's 50.6 Hz
            "Filter 2: ON PK Fc 1800 Hz Gain -12.5 dB Q 4.00\n"    // its Q word 400
            "Filter 3: ON PK Fc 20200 Hz Gain 3.0 dB Q 0.12632\n");  // Q word 0: Q 0.4 on the panel
  const std::string report = filterExportReport(*exported);
  EXPECT_NE(report.find("Filter 1   band 5\n"), std::string::npos) << report;
  EXPECT_NE(report.find("Filter 3   band 31\n"), std::string::npos) << report;
  EXPECT_GT(exported->deviation.maxDb, 10) << "the crossovers the text leaves out";
  // A flat channel (the defaults: crossovers at their off positions) is a
  // text that imports as flat.
  const std::optional<ChannelFilterExport> flat = exportChannelFilters(defaultRegisterImage(), 0);
  EXPECT_EQ(writeFilterText(flat->text), "# ZR-78 CH1 equaliser\nFilter 1: ON None\n");
  EXPECT_NE(filterExportReport(*flat).find("written as 'ON None'"), std::string::npos);
  EXPECT_FALSE(exportChannelFilters(tunedImage(), 8));
  EXPECT_FALSE(mapFilters(FilterText{}, tunedImage(), 8));
}

}  // namespace
}  // namespace zr78
