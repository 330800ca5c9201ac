#include "registers/default_image.h"

#include <cassert>
#include <cstddef>
#include <vector>

namespace zr78 {

namespace {

// Where a row's values go: at an address, at an offset in every (or one)
// channel's limiter group or channel block, or into one register of every
// band group of the channel blocks.
enum class Area { Address, LimiterGroup, ChannelBlock, Band };

constexpr int kEveryChannel = -1;

struct DefaultRow {
  Area area;
  int channel;  // kEveryChannel or one channel; unused for Area::Address
  int start;    // the address; the offset in the group or block; the band register
  int places;   // consecutive places from `start` (Area::Band: the bands 0..30)
  std::vector<int32_t> values;  // one per place; a single value fills them all
};

// Registers 1234..1249 in order.
std::vector<int32_t> systemWords() {
  return {
      4,                      // 1234 input source
      1, 1, 0, 0,             // 1235..1238
      kDefaultPasswordWord0,  // 1239
      kDefaultPasswordWord1,  // 1240
      0,                      // 1241
      3,                      // 1242 active mode
      1,                      // 1243 mode command word
      1,                      // 1244 handshake mark
      3,                      // 1245 noise gate
      6, 2,                   // 1246, 1247
      2,                      // 1248 configuration word
      500,                    // 1249 DBB
  };
}

// Later rows win where two rows meet (channel 7's limiter group runs into
// the first register of channel 0's block). Unlisted registers are 0.
std::vector<DefaultRow> defaultRows() {
  using A = Area;
  constexpr int every = kEveryChannel;
  return {
      // area          channel  start                          places  values
      {A::Address,      every,  kIdentityRegister,             1,      {8864}},
      {A::Address,      every,  kFirstVolumeRegister,          kChannelCount, {600}},
      {A::Address,      every,  kFirstChannelGainRegister,     kChannelCount, {600}},
      {A::Address,      every,  kFirstSpeakerRoleRegister,     6,      {6, 12, 15, 18, 21, 24}},
      {A::Address,      every,  58,                            15,     {1}},  // 58..72, unnamed
      // Limiter: attack 45.0 ms, release "Atk*8", threshold +2.5 dBu.
      {A::LimiterGroup, every,  0,                             7,      {100, 450, 8, 525, 0, 20, 0}},
      {A::ChannelBlock, every,  kHighPassCodeOffset,           8,      {14, 10, 500, 40, 15, 20600, 500, 40}},
      {A::Band,         every,  kBandShapeOffset,              kBandCount, {7}},  // peaking
      // Below 100 Hz a frequency word carries bit 15 and tenths of a hertz.
      {A::Band,         every,  kBandFrequencyOffset,          kBandCount,
       {32969, 33021, 33093, 33169, 33274, 33405, 33571, 101, 125, 161, 202, 250, 315, 405, 500, 630,
        809, 1000, 1260, 1620, 2000, 2520, 3170, 4000, 5040, 6350, 8000, 10100, 12500, 16000, 20200}},
      {A::Band,         every,  kBandGainOffset,               kBandCount, {500}},  // 0 dB
      {A::Band,         every,  kBandQOffset,                  kBandCount, {400}},
      {A::ChannelBlock, every,  kBlockTailOffset,              4,      {7, 20000, 500, 400}},
      {A::ChannelBlock, 4,      kHighPassFrequencyOffset,      1,      {315}},
      {A::ChannelBlock, 4,      kLowPassFrequencyOffset,       1,      {1500}},
      {A::ChannelBlock, 5,      kHighPassFrequencyOffset,      1,      {37}},
      {A::ChannelBlock, 5,      kLowPassFrequencyOffset,       1,      {315}},
      {A::ChannelBlock, 6,      kHighPassCodeOffset,           2,      {20, 32868}},  // 10.0 Hz
      {A::ChannelBlock, 6,      kLowPassCodeOffset,            1,      {21}},
      {A::ChannelBlock, 7,      kHighPassCodeOffset,           2,      {20, 32868}},
      {A::ChannelBlock, 7,      kLowPassCodeOffset,            1,      {21}},
      {A::Address,      every,  kInputSourceRegister,          16,     systemWords()},
  };
}

int placeAddress(const DefaultRow& row, int channel, int place) {
  switch (row.area) {
    case Area::Address: return row.start + place;
    case Area::LimiterGroup: return limiterRegister(channel, row.start + place);
    case Area::ChannelBlock: return channelBlockRegister(channel, row.start + place);
    case Area::Band: return bandRegister(channel, place, row.start);
  }
  return -1;
}

void applyRow(RegisterImage& image, const DefaultRow& row) {
  assert(row.values.size() == 1 || row.values.size() == static_cast<std::size_t>(row.places));
  const bool perChannel = row.area != Area::Address;
  const int first = perChannel && row.channel != kEveryChannel ? row.channel : 0;
  const int last = perChannel ? (row.channel != kEveryChannel ? row.channel : kChannelCount - 1) : 0;
  for (int c = first; c <= last; ++c) {
    for (int p = 0; p < row.places; ++p) {
      const int address = placeAddress(row, c, p);
      assert(address >= 0 && address < kRegisterCount);
      image[static_cast<std::size_t>(address)] = row.values[row.values.size() == 1 ? std::size_t{0} : static_cast<std::size_t>(p)];
    }
  }
}

RegisterImage buildDefaults() {
  RegisterImage image{};
  for (const DefaultRow& row : defaultRows()) applyRow(image, row);
  return image;
}

}  // namespace

const RegisterImage& defaultRegisterImage() {
  static const RegisterImage image = buildDefaults();
  return image;
}

}  // namespace zr78
