// UsbLink against the scripted fake device: the probe, the waits, stopping.
// The round trip against the virtual amplifier is in usb_link_sim_test.cpp.
#include "link/usb_link.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "link/fake_hid_device.h"
#include "link/frame_helpers.h"
#include "link/manual_clock.h"
#include "sync/recording_events.h"

namespace zr78 {
namespace {

using test::Bytes;

TEST(UsbLinkTest, ChannelLockName) {
  EXPECT_EQ(usbChannelLockName(), "HID_VID_4084_PID_4357");
  EXPECT_EQ(usbChannelLockName(0x0A0B, 0x00FF), "HID_VID_a0b_PID_ff") << "lower case, no padding";
}

class UsbLinkFakeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table.initRegisters();
    link.setChannelLockName("zr78_test_fake_" + std::to_string(::getpid()));
  }
  void TearDown() override {
    state.running.store(false);
    if (worker.joinable()) worker.join();
  }
  // The device answers a read of register 0 when `answer` is set.
  void answerProbes() {
    device.setOnWrite([this](const test::Report& r) {
      if (!answer.load() || r[1] != kPacketMagic0 || r[8] != CMD_READ_REGISTERS) return;
      for (const auto& p : test::packetPayloads(test::readReply({{0, 8864}}))) device.pushPayload(p);
    });
  }
  void connectInBackground() {
    worker = std::thread([this] {
      link.connectUsb(events);
      connectReturned.store(true);
    });
  }
  bool waitFor(const std::function<bool()>& done) { return events.waitUntil(done, 10000); }

  test::FakeHidDevice device;
  RegisterTable table;
  LinkState state;
  test::ManualClock clock;
  test::RecordingEvents events;
  UsbLink link{device, table, state, clock, LinkTiming::fast()};
  std::atomic<bool> answer{true};
  std::atomic<bool> connectReturned{false};
  std::thread worker;
};

TEST_F(UsbLinkFakeTest, ProbeConnects) {
  answerProbes();
  connectInBackground();
  ASSERT_TRUE(waitFor([&] { return connectReturned.load(); }));
  EXPECT_TRUE(state.connected.load());
  EXPECT_TRUE(link.readerAlive());
  EXPECT_TRUE(table.fromDevice(0));
  EXPECT_EQ(state.awaitingReply.load(), 0u);
  const auto notes = events.notifications();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.front().code, kNotifyLinkStatus);
  EXPECT_EQ(notes.front().value, 1);
  EXPECT_TRUE(notes.front().sent) << "the status is sent, not posted";
}

TEST_F(UsbLinkFakeTest, UnansweredProbeStartsOverUntilStopped) {
  answer.store(false);
  answerProbes();
  table.setFromDevice(0, true);  // left from an earlier connection
  connectInBackground();
  ASSERT_TRUE(waitFor([&] { return events.countNotify(kNotifyLinkStatus, 1) >= 3; }))
      << "each failed probe starts the procedure over";
  EXPECT_FALSE(connectReturned.load()) << "a stale register-0 flag is no answer";
  answer.store(true);
  ASSERT_TRUE(waitFor([&] { return connectReturned.load(); }));
  EXPECT_TRUE(state.connected.load());
}

TEST_F(UsbLinkFakeTest, AbsentDeviceIsRetriedUntilStopped) {
  device.setPresent(false);
  connectInBackground();
  ASSERT_TRUE(waitFor([&] { return device.opens() >= 3; }));
  state.running.store(false);
  ASSERT_TRUE(waitFor([&] { return connectReturned.load(); }));
  EXPECT_FALSE(state.connected.load());
  EXPECT_TRUE(device.written().empty());
}

TEST_F(UsbLinkFakeTest, NoWaitWithoutReader) {
  state.replySemaphore.release();
  EXPECT_FALSE(link.readerAlive());
  EXPECT_FALSE(link.waitReply(60000)) << "returns at once without a reader";
  EXPECT_TRUE(state.replySemaphore.tryTake()) << "and leaves the semaphore alone";
}

TEST_F(UsbLinkFakeTest, RequestWaitEndsWhenTheReaderDies) {
  answerProbes();
  connectInBackground();
  ASSERT_TRUE(waitFor([&] { return connectReturned.load(); }));
  worker.join();
  constexpr int kLongWaitMs = 30000;
  std::atomic<bool> taken{true};
  const auto start = std::chrono::steady_clock::now();
  std::thread requester([&] { taken.store(link.request(CMD_IDENTIFY, {0x00}, kLongWaitMs)); });
  ASSERT_TRUE(waitFor([&] { return state.awaitingReply.load() == 1; }));
  device.setPresent(false);  // unplugged: the reader's read fails
  requester.join();
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(taken.load());
  EXPECT_LT(waited, std::chrono::milliseconds(kLongWaitMs)) << "ended by the reader's end, not the timeout";
  EXPECT_FALSE(link.readerAlive());
  EXPECT_FALSE(state.connected.load());
  EXPECT_EQ(state.awaitingReply.load(), 0u);
}

TEST_F(UsbLinkFakeTest, RequestTakesTheReply) {
  answerProbes();
  connectInBackground();
  ASSERT_TRUE(waitFor([&] { return connectReturned.load(); }));
  worker.join();
  EXPECT_TRUE(link.request(CMD_READ_REGISTERS, {0x00, 0x00}, 10000));
  EXPECT_FALSE(link.sendFrame(CMD_WRITE_REGISTERS, Bytes(250, 0).data(), 250)) << "refused";
}

TEST_F(UsbLinkFakeTest, CloseDeviceFromAnotherThreadEndsTheReader) {
  answerProbes();
  LinkTiming slowReads = LinkTiming::fast();
  slowReads.reportReadTimeout = 60000;
  link.setTiming(slowReads);
  connectInBackground();
  ASSERT_TRUE(waitFor([&] { return connectReturned.load(); }));
  std::thread ui([&] { link.closeDevice(); });
  ui.join();
  ASSERT_TRUE(waitFor([&] { return !link.readerAlive(); }));
  EXPECT_FALSE(state.connected.load());
}

}  // namespace
}  // namespace zr78
