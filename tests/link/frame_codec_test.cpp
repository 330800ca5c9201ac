#include "link/frame_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/manual_clock.h"

namespace zr78 {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(Crc16Test, KnownAnswers) {
  // The CRC-16/MODBUS check value of the catalogue of parametrised CRCs.
  const std::string check = "123456789";
  EXPECT_EQ(crc16(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0x4B37);
  EXPECT_EQ(crc16(nullptr, 0), 0xFFFF);
}

TEST(BuildFrameTest, ReadRegisterZero) {
  const uint8_t data[] = {0x00, 0x00};
  EXPECT_EQ(buildFrame(CMD_READ_REGISTERS, data, 2), (Bytes{0x80, 0x05, 0x06, 0x00, 0x00, 0x13, 0xC5}));
}

struct LengthCase {
  const char* name;
  size_t dataCount;
  uint8_t lengthByte;
  size_t frameSize;  // 0: refused
};

TEST(BuildFrameTest, LengthByteAndSize) {
  const LengthCase cases[] = {
      {"no data", 0, 3, 5},
      {"longest accepted", 249, 252, 254},
      {"first of the long form is refused", 250, 255, 0},
      {"long form", 259, 255, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(frameLengthByte(c.dataCount), c.lengthByte) << c.name;
    const Bytes data(c.dataCount, 0x5A);
    const Bytes frame = buildFrame(0x42, data.data(), data.size());
    ASSERT_EQ(frame.size(), c.frameSize) << c.name;
    if (frame.empty()) continue;
    EXPECT_EQ(frame[1], c.lengthByte) << c.name;
    const uint16_t crc = crc16(frame.data(), frame.size() - 2);
    EXPECT_EQ(frame[frame.size() - 2], crc >> 8) << c.name;
    EXPECT_EQ(frame[frame.size() - 1], crc & 0xFF) << c.name;
  }
}

// Like the USB transport, a successful write sets `connected`.
struct FrameRecorder : FrameWriter {
  explicit FrameRecorder(LinkState& state) : state(state) {}
  bool writeFrame(const uint8_t* frame, size_t size) override {
    frames.emplace_back(frame, frame + size);
    state.connected.store(true);
    return true;
  }
  LinkState& state;
  std::vector<Bytes> frames;
};

class FrameSenderTest : public ::testing::Test {
 protected:
  LinkState state;
  test::ManualClock clock;
  FrameRecorder recorder{state};
  FrameSender sender{state, clock, recorder};
};

TEST_F(FrameSenderTest, RefusesTooMuchDataAndWritesNothing) {
  const Bytes data(kMaxFrameData + 1, 0);
  clock.set(100000);  // long silence: a send would count as a miss
  EXPECT_FALSE(sender.sendFrame(CMD_WRITE_REGISTERS, data.data(), data.size()));
  EXPECT_TRUE(recorder.frames.empty());
  EXPECT_EQ(state.missCount.load(), 0);
  EXPECT_TRUE(sender.sendFrame(CMD_IDENTIFY, {0x00}));
  EXPECT_EQ(recorder.frames.size(), 1u);
}

struct MissCase {
  const char* name;
  uint32_t lastReceive;
  uint32_t now;
  uint8_t command;
  uint8_t missBefore;
  uint8_t missAfter;
  bool connectedAfter;
};

TEST_F(FrameSenderTest, MissRule) {
  const MissCase cases[] = {
      {"answered recently", 1000, 2499, CMD_READ_REGISTERS, 2, 2, true},
      {"silent for exactly the limit", 1000, 2500, CMD_READ_REGISTERS, 0, 1, true},
      {"fourth miss", 1000, 9000, CMD_WRITE_REGISTERS, 3, 4, true},
      {"fifth miss disconnects, though the write succeeds", 1000, 9000, CMD_WRITE_REGISTERS, 4, 0, false},
      {"module text never misses", 1000, 9000, CMD_MODULE_TEXT, 4, 4, true},
      {"tick count wrapped", 0xFFFFFF00u, 0x00000500u, CMD_IDENTIFY, 0, 1, true},
      {"reply stored after the clock was read", 5005, 5000, CMD_IDENTIFY, 1, 1, true},
  };
  sender.setSilenceLimit(1500);
  for (const auto& c : cases) {
    state.lastReceiveTick.store(c.lastReceive);
    state.missCount.store(c.missBefore);
    state.connected.store(true);
    clock.set(c.now);
    recorder.frames.clear();
    EXPECT_TRUE(sender.sendFrame(c.command, {0x00}));
    EXPECT_EQ(recorder.frames.size(), 1u) << c.name << ": the frame is written in every case";
    EXPECT_EQ(state.missCount.load(), c.missAfter) << c.name;
    EXPECT_EQ(state.connected.load(), c.connectedAfter) << c.name;
  }
}

TEST_F(FrameSenderTest, SilenceLimitIsSettable) {
  sender.setSilenceLimit(300);
  state.lastReceiveTick.store(1000);
  clock.set(1299);
  sender.sendFrame(CMD_IDENTIFY, {0x00});
  EXPECT_EQ(state.missCount.load(), 0);
  clock.set(1300);
  sender.sendFrame(CMD_IDENTIFY, {0x00});
  EXPECT_EQ(state.missCount.load(), 1);
}

}  // namespace
}  // namespace zr78
