// An imported filter text's register writes: the Preamp reaches the channel
// gain word with the channel's own phase, nothing else of the channel strip.
#include <gtest/gtest.h>

#include "channels/filter_import.h"
#include "channels/gain_word.h"
#include "registers/default_image.h"

namespace zr78 {
namespace {

FilterMapping mapped(const char* text, const RegisterImage& registers, int channel) {
  const FilterTextParse parse = parseFilterText(text);
  EXPECT_TRUE(parse.ok()) << filterTextErrorsText(parse.errors);
  return mapFilters(parse.text, registers, channel).value();
}

TEST(FilterImportTest, ThePreampSetsTheChannelGainAndKeepsThePhase) {
  const struct {
    const char* text;
    int32_t gainWordBefore;
    int32_t gainWordAfter;
  } cases[] = {
      {"Preamp: -4.5 dB\nFilter 1: ON None", 600, 595},            // 0 dB, phase 0 -> -5 dB
      {"Preamp: -4.5 dB\nFilter 1: ON None", 90, 95},              // -10 dB, phase 180 -> -5 dB, phase kept
      {"Preamp: -80 dB\nFilter 1: ON None", 590, 541},             // held at -59 dB: never OFF
      {"Preamp: 2 dB\nFilter 1: ON None", 590, 590},               // ignored
      {"Filter 1: ON PK Fc 100 Hz Gain -3 dB Q 2", 590, 590},      // no Preamp
  };
  for (const auto& c : cases) {
    RegisterImage image = defaultRegisterImage();
    image[channelGainRegister(3)] = c.gainWordBefore;
    const FilterMapping m = mapped(c.text, image, 3);
    const std::vector<RegisterWrite> writes = filterImportWrites(m, image);
    EXPECT_EQ(writes.size(), m.writes.size() + (c.gainWordAfter != c.gainWordBefore ? 1 : 0)) << c.text;
    applyFilterImport(m, image);
    EXPECT_EQ(image[channelGainRegister(3)], c.gainWordAfter) << c.text;
    for (int other = 0; other < kChannelCount; ++other) {
      if (other == 3) continue;
      EXPECT_EQ(image[channelGainRegister(other)], defaultRegisterImage()[channelGainRegister(other)]);
    }
  }
}

}  // namespace
}  // namespace zr78
