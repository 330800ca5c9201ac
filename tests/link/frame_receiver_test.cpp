#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "link/receiver_rig.h"

namespace zr78 {
namespace {

using test::Bytes;
using test::readReply;
using test::operator+;

struct ScanCase {
  const char* name;
  std::vector<Bytes> pieces;
  std::vector<size_t> bufferedAfter;              // after each piece
  std::vector<std::pair<int, int32_t>> stored;    // read replies applied, in the end
  std::vector<int> untouched;                     // registers no frame may have set
  bool accepted;                                  // some frame reset missCount
};

// A length-2 candidate whose two "CRC" bytes match the CRC of its start and
// length bytes: without the length check it would be dispatched with -1 data bytes.
Bytes lengthTwoCandidate() {
  const uint8_t head[] = {0x80, 0x02};
  const uint16_t crc = crc16(head, 2);
  return {0x80, 0x02, static_cast<uint8_t>(crc >> 8), static_cast<uint8_t>(crc), 0x00};
}

TEST(FrameReceiverTest, ScanRules) {
  const Bytes a = readReply({{20, 1}});
  const Bytes b = readReply({{20, 2}, {21, 7}});
  const Bytes inner = readReply({{30, 1234}});
  const Bytes bad = [&] {
    Bytes f = readReply({{22, 5}});
    f.back() ^= 1;
    return f;
  }();
  const Bytes garbage = {0x01, 0x02, 0x80, 0x07, 0x09};
  const Bytes split = readReply({{23, 99}});
  const Bytes splitHead(split.begin(), split.begin() + 4);
  const Bytes splitTail(split.begin() + 4, split.end());
  const Bytes b1(b.begin() + 1, b.end());
  const ScanCase cases[] = {
      {"two frames in one piece, in order", {a + b}, {0}, {{20, 2}, {21, 7}}, {}, true},
      {"frame split over two pieces", {splitHead, splitTail}, {4, 0}, {{23, 99}}, {}, true},
      {"garbage before a frame goes with it", {garbage + a}, {0}, {{20, 1}}, {}, true},
      {"garbage alone stays", {garbage}, {garbage.size()}, {}, {}, false},
      {"five-byte frame without data", {test::frameOf(0x55, {})}, {0}, {}, {}, true},
      {"length byte below 3 is impossible", {lengthTwoCandidate()}, {5}, {}, {}, false},
      {"start byte as the last byte waits", {a + Bytes{0x80}, b1}, {1, 0}, {{20, 2}, {21, 7}}, {}, true},
      {"bad CRC is skipped", {bad}, {bad.size()}, {}, {22}, false},
      {"bad frame, then a good one", {bad + a}, {0}, {{20, 1}}, {22}, true},
      {"incomplete candidate does not block a later frame", {Bytes{0x80, 0x40} + a}, {0}, {{20, 1}}, {}, true},
      {"a frame inside an accepted frame's data is data", {test::frameOf(0x55, inner)}, {0}, {}, {30}, true},
  };
  for (const auto& c : cases) {
    auto rig = std::make_unique<test::ReceiverRig>();
    auto& table = rig->table;
    auto& state = rig->state;
    state.missCount.store(3);
    for (size_t k = 0; k < c.pieces.size(); ++k) {
      rig->feed(c.pieces[k]);
      EXPECT_EQ(rig->receiver.bufferedBytes(), c.bufferedAfter[k]) << c.name << ", piece " << k;
    }
    for (const auto& [address, value] : c.stored) {
      EXPECT_EQ(table.getRegister(address), value) << c.name << ", register " << address;
      EXPECT_TRUE(table.fromDevice(address)) << c.name << ", register " << address;
    }
    for (int address : c.untouched) EXPECT_FALSE(table.fromDevice(address)) << c.name << ", " << address;
    EXPECT_EQ(state.missCount.load(), c.accepted ? 0 : 3) << c.name;
    if (c.accepted) {
      EXPECT_EQ(state.lastReceiveTick.load(), 777u) << c.name;
    }
  }
}

TEST(FrameReceiverTest, BufferIsBounded) {
  test::ReceiverRig rig;
  auto feed = [&](const Bytes& piece) { rig.feed(piece); };
  auto& receiver = rig.receiver;
  const Bytes garbage(kReceiveBufferLimit + 1000, 0x00);
  feed(garbage);
  EXPECT_EQ(receiver.bufferedBytes(), 0u) << "no start byte: nothing can become a frame";

  const Bytes frame = readReply({{40, 4}});
  const Bytes head(frame.begin(), frame.begin() + 3);
  const Bytes tail(frame.begin() + 3, frame.end());
  feed(Bytes(kReceiveBufferLimit, 0x80) + Bytes(300, 0x00) + head);
  EXPECT_EQ(receiver.bufferedBytes(), head.size()) << "only a candidate that can still complete is kept";
  feed(tail);
  EXPECT_EQ(rig.table.getRegister(40), 4);
  EXPECT_EQ(receiver.bufferedBytes(), 0u);
}

// Every register the receiver may set from `stream`: the read-reply entries
// of every start byte in it that begins a complete candidate with a good CRC.
std::set<std::pair<int, int32_t>> justifiedValues(const Bytes& s) {
  std::set<std::pair<int, int32_t>> out;
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    const size_t length = s[i + 1];
    if (s[i] != 0x80 || length < 3 || i + length + 2 > s.size()) continue;
    if (crc16(&s[i], length) != (s[i + length] << 8 | s[i + length + 1])) continue;
    if (s[i + 2] == CMD_READ_REGISTERS)
      for (size_t k = i + 3; k + 4 <= i + length; k += 4)
        out.insert({s[k] << 8 | s[k + 1], s[k + 2] << 8 | s[k + 3]});
    if (s[i + 2] == CMD_READ_MODE_NAME && length > 3) out.insert({1243, s[i + 3]});
  }
  return out;
}

// Arbitrary bytes (rich in start bytes), good and damaged frames, split at
// arbitrary points: the receiver reads nothing outside its buffer (run under
// ASan) and changes a register only as some good frame in the input said.
TEST(FrameReceiverTest, RandomInputChangesOnlyWhatGoodFramesSay) {
  std::mt19937 rng(20261210);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 200; ++round) {
    auto rig = std::make_unique<test::ReceiverRig>();
    auto& table = rig->table;
    Bytes stream;
    std::vector<std::pair<int, int32_t>> intact;  // frames sent undamaged
    while (stream.size() < 3000) {
      switch (pick(0, 3)) {
        case 0:  // noise; every fourth byte a start byte
          for (int n = pick(1, 40); n > 0; --n) stream.push_back(pick(0, 3) == 0 ? 0x80 : pick(0, 255));
          break;
        case 1: {  // an arbitrary length byte after a start byte
          stream.push_back(0x80);
          stream.push_back(static_cast<uint8_t>(pick(0, 255)));
          break;
        }
        default: {  // a read reply, sometimes damaged
          const int address = pick(0, 1700);
          const int value = pick(0, 0xFFFF);
          Bytes f = readReply({{address, value}});
          if (pick(0, 2) == 0)
            f[pick(0, static_cast<int>(f.size()) - 1)] ^= static_cast<uint8_t>(pick(1, 255));
          else
            intact.push_back({address, value});
          stream.insert(stream.end(), f.begin(), f.end());
        }
      }
    }
    for (size_t at = 0; at < stream.size();) {
      const size_t n = std::min<size_t>(pick(0, 80), stream.size() - at);
      rig->receiver.receiveBytes(stream.data() + at, n);
      at += n;
    }
    const auto justified = justifiedValues(stream);
    const auto& defaults = defaultRegisterImage();
    for (int address = 0; address < kRegisterCount; ++address) {
      const int32_t value = table.getRegister(address);
      if (table.fromDevice(address)) {
        EXPECT_TRUE(justified.count({address, value})) << "round " << round << ", register " << address;
      } else {
        EXPECT_EQ(value, defaults[address]) << "round " << round << ", register " << address;
      }
    }
    if (table.fromDevice(1678)) {
      EXPECT_TRUE(justified.count({1678, table.recordValue(1678)})) << "round " << round;
    }
    for (int address = 1679; address < kRecordCount; ++address)
      EXPECT_FALSE(table.fromDevice(address)) << "round " << round << ", spare record " << address;
    // Intact frames are all seen (later ones may overwrite earlier ones).
    for (const auto& [address, value] : intact)
      if (address <= 1678) {
        EXPECT_TRUE(table.fromDevice(address)) << "round " << round << ", " << address;
      }
  }
}

}  // namespace
}  // namespace zr78
