// The register map: every address of the amplifier's register table that the
// program names, the blocks that repeat per output channel, and the mode
// command word. An address is page * 256 + index (page 4, index 218 is 1242).
// No other file spells an address; they use these names.
#pragma once

#include <array>
#include <cstdint>

namespace zr78 {

constexpr int kRegisterCount = 1678;  // device registers 0..1677
constexpr int kRecordCount = 1688;    // with the spare records 1678..1687

// One value per device register, address 0 first.
using RegisterImage = std::array<int32_t, kRegisterCount>;

constexpr int kChannelCount = 8;  // output channels 0..7
constexpr int kBandCount = 31;    // EQ bands 0..30 per channel (shown as 1..31)
constexpr int kModeCount = 6;     // stored device modes 1..6

// ---- single registers and per-channel rows ---------------------------------

// Identity: read as the connection probe; 4095 also ends the handshake.
constexpr int kIdentityRegister = 0;

// Mute of channel c (1 muted, 0 sounding): 2..9.
constexpr int kFirstMuteRegister = 2;
constexpr int kLastMuteRegister = 9;
constexpr int muteRegister(int channel) { return kFirstMuteRegister + channel; }

// Master volume word, one per channel: 12..19; the slider writes all eight and
// shows the first.
constexpr int kFirstVolumeRegister = 12;
constexpr int kLastVolumeRegister = 19;

// Gain and phase of channel c (GainWord): 26..33.
constexpr int kFirstChannelGainRegister = 26;
constexpr int kLastChannelGainRegister = 33;
constexpr int channelGainRegister(int channel) { return kFirstChannelGainRegister + channel; }

// Speaker role of channel c (0..24): 50..57.
constexpr int kFirstSpeakerRoleRegister = 50;
constexpr int kLastSpeakerRoleRegister = 57;
constexpr int speakerRoleRegister(int channel) { return kFirstSpeakerRoleRegister + channel; }

// Time alignment of channel c (microseconds): 73..80.
constexpr int kFirstDelayRegister = 73;
constexpr int kLastDelayRegister = 80;
constexpr int delayRegister(int channel) { return kFirstDelayRegister + channel; }

// ---- limiter groups: 83 + 7c .. 89 + 7c -------------------------------------
// Channel 7's group would end at 138, the first register of channel 0's
// block; the block owns it.

constexpr int kLimiterGroupBase = 83;   // group of channel 0
constexpr int kLimiterGroupStride = 7;  // registers per group
constexpr int kLimiterAttackOffset = 1;     // 84 + 7c: attack, tenths of a ms
constexpr int kLimiterReleaseOffset = 2;    // 85 + 7c: release multiplier
constexpr int kLimiterThresholdOffset = 3;  // 86 + 7c: threshold word
constexpr int limiterRegister(int channel, int offset) {
  return kLimiterGroupBase + kLimiterGroupStride * channel + offset;
}

// ---- channel blocks: 138 + 136c .. 273 + 136c -------------------------------

constexpr int kChannelBlockBase = 138;    // block of channel 0
constexpr int kChannelBlockStride = 136;  // registers per block
// Crossovers at offsets 0..7.
constexpr int kHighPassCodeOffset = 0;       // 138 + 136c: CrossoverCode
constexpr int kHighPassFrequencyOffset = 1;  // 139 + 136c: FrequencyWord
constexpr int kHighPassAuxOffset = 2;        // 140 + 136c: not edited, carried and linked
constexpr int kLowPassCodeOffset = 4;        // 142 + 136c
constexpr int kLowPassFrequencyOffset = 5;   // 143 + 136c
constexpr int kLowPassAuxOffset = 6;         // 144 + 136c: not edited, carried and linked
// Band b's group of four at offset 8 + 4b (146 + 136c + 4b .. 149 + 136c + 4b).
constexpr int kFirstBandOffset = 8;
constexpr int kBandStride = 4;
constexpr int kBandShapeOffset = 0;      // the fourth band register: shape, not edited
constexpr int kBandFrequencyOffset = 1;  // 147 + 136c + 4b
constexpr int kBandGainOffset = 2;       // 148 + 136c + 4b
constexpr int kBandQOffset = 3;          // 149 + 136c + 4b
// Offsets 132..135: a band group after band 30 that no editor shows.
constexpr int kBlockTailOffset = kFirstBandOffset + kBandStride * kBandCount;

constexpr int channelBlockRegister(int channel, int offset) {
  return kChannelBlockBase + kChannelBlockStride * channel + offset;
}
// `part` is one of the band offsets above.
constexpr int bandRegister(int channel, int band, int part) {
  return channelBlockRegister(channel, kFirstBandOffset + kBandStride * band + part);
}

// ---- system registers, page 4 -----------------------------------------------

constexpr int kInputSourceRegister = 1234;    // 4:210, input source word 1..7
constexpr int kPasswordWord0Register = 1239;  // 4:215, device password; files skip it
constexpr int kPasswordWord1Register = 1240;  // 4:216
constexpr int kActiveModeRegister = 1242;     // 4:218, the device's current mode 1..6
constexpr int kModeCommandRegister = 1243;    // 4:219, mode command word (below)
constexpr int kHandshakeRegister = 1244;      // 4:220, set to kHandshakeDoneWord after a handshake
constexpr int kNoiseGateRegister = 1245;      // 4:221, noise gate threshold
constexpr int kDeviceConfigurationRegister = 1248;  // 4:224, read only: routing nibble, USB bit
constexpr int kDbbSwitchRegister = 1249;      // 4:225, "DBB" switch 1 on / 0 off; top button 7

constexpr int32_t kHandshakeDoneWord = 1;

// ---- input levels, page 6 (no reachable control writes them) ----------------

constexpr int kBtInputLevelRegister = 1580;       // 6:44, level + 500
constexpr int kUsbInputLevelRegister = 1588;      // 6:52
constexpr int kOpticalInputLevelRegister = 1596;  // 6:60

// ---- routing matrix: 1614 + 8 × output + input (6:78 .. 6:141) ---------------

constexpr int kRouteOutputs = 8;  // output columns 0..7
constexpr int kRouteInputs = 8;   // input rows 0..7
constexpr int kFirstRouteRegister = 1614;
constexpr int kLastRouteRegister = 1677;
constexpr int routeRegister(int output, int input) {
  return kFirstRouteRegister + kRouteInputs * output + input;
}

// ---- the mode command word (register 1243) ----------------------------------
// Low byte: the mode 1..6; high byte: the operation. 0 after a recall.

enum class ModeOperation : int32_t {
  ReadName = 5,  // ask for the mode's name (sent as command 4, not as a write)
  Recall = 6,    // recall the mode (worker request 3)
  Store = 7,     // store into the mode (set before a name write)
};

// The operation's high byte alone (OR-ed into a word that holds the mode).
constexpr int32_t modeOperationBits(ModeOperation operation) {
  return static_cast<int32_t>(operation) << 8;
}
constexpr int32_t modeCommandWord(ModeOperation operation, int mode) {
  return modeOperationBits(operation) | (mode & 0xFF);
}
constexpr int modeOfCommandWord(int32_t word) { return word & 0xFF; }
constexpr bool isModeOperation(int32_t word, ModeOperation operation) {
  return ((word >> 8) & 0xFF) == static_cast<int32_t>(operation);
}

}  // namespace zr78
