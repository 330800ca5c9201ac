// The register map's names against the numbers of the address map, and the
// default image built from its rows against the positional rules it replaced.
#include "registers/register_map.h"

#include <gtest/gtest.h>

#include "registers/default_image.h"

namespace zr78 {
namespace {

TEST(RegisterMap, NamesAndBlocksMatchTheAddressMap) {
  struct Row {
    const char* name;
    int named;
    int address;
  } rows[] = {
      {"identity", kIdentityRegister, 0},
      {"mute ch0", muteRegister(0), 2},
      {"mute ch7", muteRegister(7), 9},
      {"last mute", kLastMuteRegister, 9},
      {"master volume first", kFirstVolumeRegister, 12},
      {"master volume last", kLastVolumeRegister, 19},
      {"gain ch0", channelGainRegister(0), 26},
      {"gain ch7", channelGainRegister(7), 33},
      {"last gain", kLastChannelGainRegister, 33},
      {"role ch0", speakerRoleRegister(0), 50},
      {"role ch7", speakerRoleRegister(7), 57},
      {"last role", kLastSpeakerRoleRegister, 57},
      {"delay ch0", delayRegister(0), 73},
      {"delay ch7", delayRegister(7), 80},
      {"last delay", kLastDelayRegister, 80},
      {"limiter group ch0", limiterRegister(0, 0), 83},
      {"attack ch0", limiterRegister(0, kLimiterAttackOffset), 84},
      {"release ch0", limiterRegister(0, kLimiterReleaseOffset), 85},
      {"threshold ch0", limiterRegister(0, kLimiterThresholdOffset), 86},
      {"attack ch7", limiterRegister(7, kLimiterAttackOffset), 84 + 49},
      {"threshold ch7", limiterRegister(7, kLimiterThresholdOffset), 86 + 49},
      {"hp code ch0", channelBlockRegister(0, kHighPassCodeOffset), 138},
      {"hp freq ch0", channelBlockRegister(0, kHighPassFrequencyOffset), 139},
      {"hp aux ch0", channelBlockRegister(0, kHighPassAuxOffset), 140},
      {"lp code ch0", channelBlockRegister(0, kLowPassCodeOffset), 142},
      {"lp freq ch0", channelBlockRegister(0, kLowPassFrequencyOffset), 143},
      {"lp aux ch0", channelBlockRegister(0, kLowPassAuxOffset), 144},
      {"band 1 shape ch0", bandRegister(0, 0, kBandShapeOffset), 146},
      {"band 1 freq ch0", bandRegister(0, 0, kBandFrequencyOffset), 147},
      {"band 1 gain ch0", bandRegister(0, 0, kBandGainOffset), 148},
      {"band 1 Q ch0", bandRegister(0, 0, kBandQOffset), 149},
      {"band 5 gain ch0", bandRegister(0, 4, kBandGainOffset), 148 + 4 * 4},
      {"band 31 Q ch0", bandRegister(0, 30, kBandQOffset), 269},
      {"block tail ch0", channelBlockRegister(0, kBlockTailOffset), 138 + 132},
      {"block end ch0", channelBlockRegister(0, kChannelBlockStride - 1), 273},
      {"ch1 starts", channelBlockRegister(1, 0), 274},
      {"band 31 Q ch7", bandRegister(7, 30, kBandQOffset), 1221},
      {"block end ch7", channelBlockRegister(7, kChannelBlockStride - 1), 273 + 136 * 7},
      {"input source 4:210", kInputSourceRegister, 4 * 256 + 210},
      {"password 0 4:215", kPasswordWord0Register, 1239},
      {"password 1 4:216", kPasswordWord1Register, 1240},
      {"active mode 4:218", kActiveModeRegister, 4 * 256 + 218},
      {"mode command 4:219", kModeCommandRegister, 1243},
      {"handshake 4:220", kHandshakeRegister, 1244},
      {"noise gate 4:221", kNoiseGateRegister, 1245},
      {"configuration 4:224", kDeviceConfigurationRegister, 1248},
      {"DBB 4:225", kDbbSwitchRegister, 1249},
      {"BT level 6:44", kBtInputLevelRegister, 6 * 256 + 44},
      {"USB level 6:52", kUsbInputLevelRegister, 1588},
      {"optical level 6:60", kOpticalInputLevelRegister, 1596},
      {"route out 0 in 0", routeRegister(0, 0), 1614},
      {"route out 2 in 1", routeRegister(2, 1), 1614 + 16 + 1},
      {"route out 7 in 7", routeRegister(7, 7), 1677},
      {"first route 6:78", kFirstRouteRegister, 6 * 256 + 78},
      {"last route 6:141", kLastRouteRegister, 6 * 256 + 141},
      {"register count", kRegisterCount, 1678},
      {"record count", kRecordCount, 1688},
  };
  for (const Row& r : rows) EXPECT_EQ(r.named, r.address) << r.name;
  EXPECT_LT(channelBlockRegister(7, kChannelBlockStride - 1), kInputSourceRegister)
      << "the channel blocks end before the system registers";
}

TEST(RegisterMap, ModeCommandWords) {
  struct Row {
    ModeOperation operation;
    int mode;
    int32_t word;
  } rows[] = {
      {ModeOperation::ReadName, 1, 0x0501},
      {ModeOperation::Recall, 6, 0x0606},
      {ModeOperation::Store, 3, 0x0703},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(modeCommandWord(r.operation, r.mode), r.word);
    EXPECT_TRUE(isModeOperation(r.word, r.operation)) << r.word;
    EXPECT_EQ(modeOfCommandWord(r.word), r.mode);
  }
  EXPECT_FALSE(isModeOperation(0x0603, ModeOperation::ReadName));
  EXPECT_FALSE(isModeOperation(3, ModeOperation::Recall)) << "a plain mode number is no operation";
  EXPECT_EQ(0x0004 | modeOperationBits(ModeOperation::Recall), 0x0604);
}

// The default image as it used to be written, one positional rule per line.
RegisterImage positionalDefaults() {
  RegisterImage v{};
  v[0] = 8864;
  for (int a = 12; a <= 19; ++a) v[a] = 600;
  for (int a = 26; a <= 33; ++a) v[a] = 600;
  const int32_t roles[6] = {6, 12, 15, 18, 21, 24};
  for (int i = 0; i < 6; ++i) v[50 + i] = roles[i];
  for (int a = 58; a <= 72; ++a) v[a] = 1;
  const int32_t limiter[7] = {100, 450, 8, 525, 0, 20, 0};
  for (int c = 0; c < 8; ++c)
    for (int k = 0; k < 7; ++k) v[83 + 7 * c + k] = limiter[k];
  const int32_t bandWords[31] = {32969, 33021, 33093, 33169, 33274, 33405, 33571, 101,  125,   161,   202,
                                 250,   315,   405,   500,   630,   809,   1000,  1260, 1620,  2000,  2520,
                                 3170,  4000,  5040,  6350,  8000,  10100, 12500, 16000, 20200};
  for (int c = 0; c < 8; ++c) {
    const int base = 138 + 136 * c;
    const int32_t crossover[8] = {14, 10, 500, 40, 15, 20600, 500, 40};
    for (int k = 0; k < 8; ++k) v[base + k] = crossover[k];
    for (int e = 0; e < 31; ++e) {
      v[base + 8 + 4 * e] = 7;
      v[base + 9 + 4 * e] = bandWords[e];
      v[base + 10 + 4 * e] = 500;
      v[base + 11 + 4 * e] = 400;
    }
    v[base + 132] = 7;
    v[base + 133] = 20000;
    v[base + 134] = 500;
    v[base + 135] = 400;
    if (c == 4) {
      v[base + 1] = 315;
      v[base + 5] = 1500;
    } else if (c == 5) {
      v[base + 1] = 37;
      v[base + 5] = 315;
    } else if (c >= 6) {
      v[base + 0] = 20;
      v[base + 1] = 32868;
      v[base + 4] = 21;
    }
  }
  const int32_t system1234[5] = {4, 1, 1, 0, 0};
  for (int i = 0; i < 5; ++i) v[1234 + i] = system1234[i];
  v[1239] = kDefaultPasswordWord0;
  v[1240] = kDefaultPasswordWord1;
  const int32_t system1241[9] = {0, 3, 1, 1, 3, 6, 2, 2, 500};
  for (int i = 0; i < 9; ++i) v[1241 + i] = system1241[i];
  return v;
}

TEST(DefaultImage, RowsGiveThePositionalRules) {
  const RegisterImage expected = positionalDefaults();
  const RegisterImage& image = defaultRegisterImage();
  int differing = 0;
  for (int a = 0; a < kRegisterCount; ++a) {
    if (image[a] != expected[a] && ++differing <= 10)
      ADD_FAILURE() << "register " << a << ": " << image[a] << ", expected " << expected[a];
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace zr78
