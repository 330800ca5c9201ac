#include "link/hid_transport.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/fake_hid_device.h"
#include "link/receiver_rig.h"

namespace zr78 {
namespace {

using test::Bytes;

// A frame of `size` bytes (an unknown command, so nothing is applied).
Bytes frameOfSize(size_t size) { return test::frameOf(0x55, Bytes(size - kFrameOverhead, 0x11)); }

Bytes payloadOf(const test::Report& r) { return Bytes(r.begin() + 1, r.end()); }

struct PacketCase {
  const char* name;
  size_t frameSize;
  size_t reports;
};

class HidTransportTest : public ::testing::Test {
 protected:
  test::FakeHidDevice device;
  LinkState state;
  PacketWriter cmd{device, state};
  void SetUp() override { ASSERT_TRUE(cmd.io().openDevice()); }
};

TEST_F(HidTransportTest, SevenByteFrameInOneReport) {
  const uint8_t zero[] = {0x00, 0x00};
  const Bytes request = buildFrame(CMD_READ_REGISTERS, zero, 2);
  ASSERT_TRUE(cmd.writePacket(request.data(), request.size()));
  const auto written = device.written();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0][0], 0) << "report id";
  Bytes expected = {0xAE, 0x1E, 0x00, 0x07, 0xC8};
  expected.insert(expected.end(), request.begin(), request.end());
  expected.resize(kReportPayload, 0x00);  // 52 zero bytes of padding
  EXPECT_EQ(payloadOf(written[0]), expected);
}

TEST_F(HidTransportTest, PacketsRoundTripThroughReports) {
  const PacketCase cases[] = {
      {"7-byte frame", 7, 1},
      {"largest frame in one report", 59, 1},
      {"61-byte frame (66-byte packet)", 61, 2},
      {"105-byte frame (25-register reply)", 105, 2},
      {"longest frame", 254, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = device.written().size();
    const Bytes frame = frameOfSize(c.frameSize);
    ASSERT_TRUE(cmd.writePacket(frame.data(), frame.size()));
    const auto all = device.written();
    ASSERT_EQ(all.size() - before, c.reports);
    PacketAssembler assembler;
    for (size_t k = before; k < all.size(); ++k) {
      const size_t delivered = assembler.feed(payloadOf(all[k]).data(), kReportPayload);
      if (k + 1 < all.size()) {
        EXPECT_EQ(delivered, 0u) << "delivered before report " << k - before + 1 << " of " << c.reports;
        continue;
      }
      ASSERT_EQ(delivered, frame.size());
      EXPECT_EQ(Bytes(assembler.frame(), assembler.frame() + delivered), frame);
    }
  }
}

TEST_F(HidTransportTest, WriteFailures) {
  struct WriteCase {
    const char* name;
    int okWrites;
    int failure;
    size_t attempted;  // reports tried before giving up
  };
  const WriteCase cases[] = {
      {"first report fails", 0, -1, 1},
      {"second report fails", 1, -1, 2},
      {"a short write is a failure", 0, static_cast<int>(kReportSize) - 1, 1},
  };
  const Bytes frame = frameOfSize(105);  // two reports
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeHidDevice dev;
    LinkState st;
    PacketWriter link(dev, st);
    ASSERT_TRUE(link.io().openDevice());
    dev.failWritesAfter(c.okWrites, c.failure);
    st.connected.store(true);
    EXPECT_FALSE(link.sendFrameUsb(frame.data(), frame.size()));
    EXPECT_FALSE(st.connected.load());
    EXPECT_EQ(dev.written().size(), c.attempted);
  }
  state.connected.store(false);
  EXPECT_TRUE(cmd.sendFrameUsb(frame.data(), frame.size()));
  EXPECT_TRUE(state.connected.load()) << "a good write sets connected";
}

Bytes header(size_t frameLength) {
  return {0xAE, 0x1E, static_cast<uint8_t>(frameLength >> 8), static_cast<uint8_t>(frameLength), 0xC8};
}

TEST(PacketAssemblerTest, HostilePackets) {
  PacketAssembler assembler;
  Bytes start = header(2000);
  start.resize(kReportPayload, 0x80);
  EXPECT_EQ(assembler.feed(start.data(), start.size()), 0u);
  const Bytes more(kReportPayload, 0x80);
  for (int k = 0; k < 40; ++k)  // 2560 bytes: more than the buffer holds
    EXPECT_EQ(assembler.feed(more.data(), more.size()), 0u) << "an oversized packet is dropped";

  Bytes small = header(7);
  const uint8_t zero[] = {0x00, 0x00};
  const Bytes frame = buildFrame(CMD_READ_REGISTERS, zero, 2);
  small.insert(small.end(), frame.begin(), frame.end());
  small.resize(kReportPayload, 0x00);
  EXPECT_EQ(assembler.feed(small.data(), small.size()), 7u) << "the next packet is assembled normally";
  EXPECT_EQ(assembler.feed(more.data(), more.size()), 0u) << "a stray continuation delivers nothing again";

  Bytes empty = header(0);
  EXPECT_EQ(assembler.feed(empty.data(), empty.size()), 0u) << "a packet without a frame";
  EXPECT_EQ(assembler.feed(small.data(), 3), 0u) << "a payload too short for a header";
}

TEST(PacketAssemblerTest, LongPacketUsesTheWholeBuffer) {
  // 1000 frame bytes: 59 in the first report, then 16 continuations of 64;
  // the fill position passes 959 only with the last one.
  PacketAssembler assembler;
  Bytes start = header(1000);
  start.resize(kReportPayload, 0x01);
  assembler.feed(start.data(), start.size());
  const Bytes more(kReportPayload, 0x02);
  size_t delivered = 0;
  int continuations = 0;
  while (delivered == 0 && continuations < 20) {
    delivered = assembler.feed(more.data(), more.size());
    ++continuations;
  }
  EXPECT_EQ(continuations, 15);
  EXPECT_EQ(delivered, 1000u);
  EXPECT_EQ(assembler.frame()[58], 0x01);
  EXPECT_EQ(assembler.frame()[59], 0x02);
}

class HidReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(io.openDevice()); }
  void TearDown() override {
    device.close();  // ends a read in progress
    reader.stopAndJoin();
  }

  test::FakeHidDevice device;
  test::ReceiverRig rig;
  HidPort io{device};
  HidReader reader{io, rig.receiver, rig.state};
};

TEST_F(HidReaderTest, DeliversFramesAndKeepsReadingThroughTimeouts) {
  io.setReadTimeout(5);
  rig.state.connected.store(true);
  reader.start();
  ASSERT_TRUE(device.waitForReads(3, 5000)) << "timeouts (0) do not end the reader";
  EXPECT_TRUE(reader.alive());
  Bytes packet = header(105);
  const Bytes frame = test::readReply({{20, 1}, {21, 2}, {22, 3}, {23, 4}, {24, 5}, {25, 6}, {26, 7},
                                       {27, 8}, {28, 9}, {29, 10}, {30, 11}, {31, 12}, {32, 13},
                                       {33, 14}, {34, 15}, {35, 16}, {36, 17}, {37, 18}, {38, 19},
                                       {39, 20}, {40, 21}, {41, 22}, {42, 23}, {43, 24}, {44, 25}});
  ASSERT_EQ(frame.size(), 105u);
  packet.insert(packet.end(), frame.begin(), frame.end());
  packet.resize(128, 0x00);
  // From here on no read times out, so the read in progress when the reports
  // are queued takes the first of them, and once read number r + n has
  // started, the first n reports are processed.
  io.setReadTimeout(60000);
  ASSERT_TRUE(device.waitForReads(device.reads() + 1, 5000));
  const int r = device.reads();
  device.pushPayload(Bytes(packet.begin(), packet.begin() + 64));
  device.pushPayload(Bytes(packet.begin() + 64, packet.end()));
  ASSERT_TRUE(device.waitForReads(r + 2, 5000));
  EXPECT_EQ(rig.table.getRegister(44), 25);
  EXPECT_TRUE(rig.table.takeFromDevice(44));
  device.pushPayload(Bytes(packet.begin() + 64, packet.end()));  // a stray repeat
  ASSERT_TRUE(device.waitForReads(r + 3, 5000));
  EXPECT_FALSE(rig.table.fromDevice(44)) << "the repeat delivered the frame again";
  EXPECT_TRUE(rig.state.connected.load());
}

struct ReaderEndCase {
  const char* name;
  void (*end)(test::FakeHidDevice&, HidReader&, LinkState&);
};

TEST_F(HidReaderTest, EndsAndClearsConnected) {
  const ReaderEndCase cases[] = {
      {"device unplugged", [](auto& d, auto&, auto&) { d.setPresent(false); }},
      {"handle closed from another thread", [](auto& d, auto&, auto&) { d.close(); }},
      {"running cleared", [](auto&, auto&, auto& s) { s.running.store(false); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    device.setPresent(true);
    ASSERT_TRUE(io.openDevice());
    rig.state.running.store(true);
    rig.state.connected.store(true);
    io.setReadTimeout(20);
    reader.start();
    EXPECT_TRUE(reader.alive()) << "alive as soon as started";
    c.end(device, reader, rig.state);
    for (int k = 0; k < 500 && reader.alive(); ++k) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_FALSE(reader.alive());
    EXPECT_FALSE(rig.state.connected.load());
  }
}

}  // namespace
}  // namespace zr78
