// The USB link against the virtual amplifier: connect, requests through the
// real reader thread, unplug and replug, and a second process holding the
// channel lock.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "link/frame_helpers.h"
#include "sync/recording_events.h"
#include "link/usb_link.h"
#include "platform/lock_holder_process.h"
#include "sim/virtual_amplifier.h"

namespace zr78 {
namespace {

using test::Bytes;
using test::entries;

constexpr int kPatienceMs = 10000;  // generous: the waits end as soon as the state is reached

class UsbLinkSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table.initRegisters();
    link.setChannelLockName(lockName);
  }
  void TearDown() override {
    state.running.store(false);
    link.closeDevice();
    if (worker.joinable()) worker.join();
  }
  // The worker's part: connect, stay while connected, connect again.
  void runConnectionLoop() {
    worker = std::thread([this] {
      while (state.running.load()) {
        link.connectUsb(events);
        if (state.connected.load()) connections.fetch_add(1);
        while (state.connected.load() && state.running.load())
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
  }
  bool waitFor(const std::function<bool()>& done) { return events.waitUntil(done, kPatienceMs); }
  bool connectedNow() const { return state.connected.load() && link.readerAlive(); }

  const std::string lockName = "zr78_test_usb_" + std::to_string(::getpid());
  sim::VirtualAmplifier amp;
  RegisterTable table;
  LinkState state;
  test::RecordingEvents events;
  UsbLink link{amp.hidDevice(), table, state, steadyClock(), LinkTiming::fast()};
  std::atomic<int> connections{0};
  std::thread worker;
};

TEST_F(UsbLinkSimTest, ConnectProbesRegisterZero) {
  amp.setReg(0, 4095);
  table.setRegisterQuiet(0, 0);
  link.connectUsb(events);
  EXPECT_TRUE(state.connected.load());
  EXPECT_TRUE(link.readerAlive());
  EXPECT_GE(amp.framesReceived(CMD_READ_REGISTERS), 1);
  EXPECT_TRUE(table.fromDevice(0));
  EXPECT_EQ(table.getRegister(0), 4095);
  EXPECT_EQ(events.countNotify(kNotifyLinkStatus, 1), 1);
  EXPECT_TRUE(events.messages().empty());
}

TEST_F(UsbLinkSimTest, RepliesAndEchoesThroughTheReader) {
  link.connectUsb(events);
  ASSERT_TRUE(state.connected.load());
  // A 25-register read reply is a 105-byte frame in two reports.
  Bytes addresses;
  for (int a = 300; a < 325; ++a) {
    amp.setReg(a, 1000 + a);
    addresses.push_back(static_cast<uint8_t>(a >> 8));
    addresses.push_back(static_cast<uint8_t>(a));
  }
  EXPECT_TRUE(link.request(CMD_READ_REGISTERS, addresses.data(), addresses.size(), kPatienceMs));
  for (int a = 300; a < 325; ++a) {
    EXPECT_EQ(table.getRegister(a), 1000 + a) << a;
    EXPECT_TRUE(table.fromDevice(a)) << a;
  }
  table.setRegister(1234, 5);
  table.beginSend(1234);  // as the worker takes it into a batch
  const Bytes write = entries({{1234, 5}});
  EXPECT_TRUE(link.request(CMD_WRITE_REGISTERS, write.data(), write.size(), kPatienceMs));
  EXPECT_FALSE(table.dirty(1234)) << "the echo acknowledged it";
  EXPECT_EQ(amp.reg(1234), 5);
}

TEST_F(UsbLinkSimTest, UnplugEndsTheReaderAndReplugConnectsAgain) {
  runConnectionLoop();
  ASSERT_TRUE(waitFor([&] { return connections.load() == 1 && connectedNow(); }));
  amp.unplug();
  ASSERT_TRUE(waitFor([&] { return !link.readerAlive() && !state.connected.load(); }));
  ASSERT_TRUE(waitFor([&] { return events.countNotify(kNotifyLinkStatus, 1) >= 2; }))
      << "the status returns to connecting";
  amp.replug();
  ASSERT_TRUE(waitFor([&] { return connections.load() == 2 && connectedNow(); }));
  EXPECT_TRUE(events.messages().empty());
}

TEST_F(UsbLinkSimTest, SilentDeviceIsNeverConnected) {
  sim::FaultConfig silent;
  silent.silent = true;
  amp.setFaults(silent);
  runConnectionLoop();
  ASSERT_TRUE(waitFor([&] { return amp.framesReceived(CMD_READ_REGISTERS) >= 3; }));
  EXPECT_EQ(connections.load(), 0);
  amp.setFaults(sim::FaultConfig{});
  ASSERT_TRUE(waitFor([&] { return connections.load() == 1 && connectedNow(); }));
}

TEST_F(UsbLinkSimTest, BlockedChannelIsRetriedUntilTheOtherProcessEnds) {
  test::LockHolderProcess other;
  ASSERT_EQ(other.start(ZR78_LOCK_HOLDER, lockName), "held");
  runConnectionLoop();
  const std::string blocked = lockName + " Channel is Blocked!";
  ASSERT_TRUE(waitFor([&] { return events.countMessages(blocked) >= 2; })) << "shown at every retry";
  EXPECT_EQ(connections.load(), 0);
  EXPECT_EQ(amp.framesReceived(CMD_READ_REGISTERS), 0) << "nothing is sent without the channel";
  other.kill();  // the OS releases a dead holder's lock
  ASSERT_TRUE(waitFor([&] { return connectedNow(); }));
  for (const auto& m : events.messages()) {
    EXPECT_EQ(m.text, blocked);
    EXPECT_EQ(m.caption, "") << "the window title is used";
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
  }
  test::LockHolderProcess third;
  EXPECT_EQ(third.start(ZR78_LOCK_HOLDER, lockName), "busy") << "the link now holds the channel";
}

TEST_F(UsbLinkSimTest, StopWhileBlockedReturns) {
  test::LockHolderProcess other;
  ASSERT_EQ(other.start(ZR78_LOCK_HOLDER, lockName), "held");
  events.setMessageHandler([&](const auto&) {
    state.running.store(false);  // the program closes while the message is up
    return MessageResult::Ok;
  });
  link.connectUsb(events);
  EXPECT_FALSE(state.connected.load());
  EXPECT_EQ(events.messages().size(), 1u);
}

}  // namespace
}  // namespace zr78
