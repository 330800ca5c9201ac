#include "sync/sync_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "link/frame_format.h"
#include "sync/worker_fixture.h"

namespace zr78::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class SyncWorkerTest : public WorkerFixture {};

TEST_F(SyncWorkerTest, ConnectsReadsEverythingAndShowsIt) {
  amp_.setReg(26, 590);
  amp_.setReg(1600, 4321);
  start();
  ASSERT_TRUE(waitSynchronising());
  EXPECT_EQ(events_.title(), "ZR-78-USB");
  EXPECT_GE(events_.countNotify(kNotifyLinkStatus, 0), 1) << "connected was reported";
  EXPECT_EQ(table().getRegister(26), 590);
  EXPECT_EQ(table().getRegister(1600), 4321);
  EXPECT_EQ(events_.countNotify(kNotifyRegister, 1600), 1) << "each arrived register shown once";
  const auto calls = events_.progressCalls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "format Read Device Data:%5.0f %%"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "format Update Display Data:%5.0f %%"), calls.end());
  EXPECT_EQ(calls.back(), "hide");
  EXPECT_TRUE(nothingDirty());
  EXPECT_EQ(amp_.reg(1244), 1) << "the handshake announces itself in register 1244";
}

TEST_F(SyncWorkerTest, EditsReachTheAmplifierAndTheLastValueWins) {
  start();
  ASSERT_TRUE(waitSynchronising());
  table().setRegister(148, 520);
  table().setRegister(148, 530);  // changed again before the first echo
  ASSERT_TRUE(waitFor([&] { return !table().dirty(148) && amp_.reg(148) == 530; }));
  EXPECT_EQ(table().getRegister(148), 530);
}

TEST_F(SyncWorkerTest, EditDuringTheFullReadStaysDirtyAndTheDeviceValueWins) {
  sim::SimConfig slow;
  slow.reportIntervalUs = 3000;  // the dump takes about 0.4 s
  amp_.setReg(1600, 1111);
  start(slow);
  ASSERT_TRUE(waitFor([&] { return events_.countNotify(kNotifyLinkStatus, 0) > 0; }));
  // Early in the dump: register 5 has arrived, 1600 has not.
  ASSERT_TRUE(waitFor([&] { return table().fromDevice(5); }));
  table().setRegister(5, 1);
  table().setRegister(1600, 2222);
  ASSERT_TRUE(waitSynchronising(10000));
  ASSERT_TRUE(waitFor([&] { return nothingDirty(); }));
  EXPECT_EQ(amp_.reg(5), 1) << "the edit made after its register arrived was sent";
  EXPECT_EQ(table().getRegister(1600), 1111) << "the reply arriving after the edit replaced it";
  EXPECT_EQ(amp_.reg(1600), 1111);
}

TEST_F(SyncWorkerTest, QuietLinkPollsInputSourceAndConfiguration) {
  start({}, LinkTiming::usb());
  ASSERT_TRUE(waitSynchronising(10000));
  std::this_thread::sleep_for(1500ms);  // past the first second of quiet
  amp_.resetCounters();
  std::this_thread::sleep_for(2800ms);
  // About every 0.7 s: four polls in 2.8 s (bounds wide enough for a
  // sanitizer build on a busy machine, narrow enough to tell 0.7 s from the
  // 0.1 s of a busy loop or the silence of a stalled one).
  EXPECT_GE(amp_.framesReceived(CMD_READ_REGISTERS), 2);
  EXPECT_LE(amp_.framesReceived(CMD_READ_REGISTERS), 6);
  EXPECT_EQ(amp_.framesReceived(CMD_WRITE_REGISTERS), 0);
}

TEST_F(SyncWorkerTest, PulledCableReconnectsWithAFullRead) {
  start();
  ASSERT_TRUE(waitSynchronising());
  events_.clear();
  amp_.unplug();
  ASSERT_TRUE(waitFor([&] { return events_.countNotify(kNotifyLinkStatus, 1) > 0; }));
  EXPECT_FALSE(state().connected.load());
  amp_.setReg(30, 555);  // changed while away
  amp_.replug();
  ASSERT_TRUE(waitFor([&] { return events_.countNotify(kNotifyLinkStatus, 0) > 0; }, 10000));
  ASSERT_TRUE(waitSynchronising());
  EXPECT_EQ(table().getRegister(30), 555);
}

TEST_F(SyncWorkerTest, PauseStopsAllTrafficAndResumeReadsEverything) {
  start();
  ASSERT_TRUE(waitSynchronising());
  state().paused.store(true);
  std::this_thread::sleep_for(50ms);
  amp_.resetCounters();
  table().setRegister(26, 570);  // an edit while paused waits
  std::this_thread::sleep_for(600ms);
  for (int command : {CMD_IDENTIFY, CMD_WRITE_REGISTERS, CMD_READ_REGISTERS, CMD_DUMP_ALL})
    EXPECT_EQ(amp_.framesReceived(command), 0) << command;
  // The second press: clear paused and connected; the worker reconnects.
  state().paused.store(false);
  state().connected.store(false);
  ASSERT_TRUE(waitFor([&] { return amp_.framesReceived(CMD_DUMP_ALL) > 0; }));
  ASSERT_TRUE(waitSynchronising());
}

TEST_F(SyncWorkerTest, ARegisterNeverAcknowledgedIsGivenUpAfterElevenSends) {
  sim::SimConfig config;
  config.unacknowledgedAddress = 300;
  start(config);
  ASSERT_TRUE(waitSynchronising());
  amp_.resetCounters();
  table().setRegister(300, 512);
  ASSERT_TRUE(waitFor([&] { return !table().dirty(300); }, 10000));
  EXPECT_EQ(table().tries(300), 0);
  EXPECT_EQ(amp_.framesReceived(CMD_WRITE_REGISTERS), 11);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(amp_.framesReceived(CMD_WRITE_REGISTERS), 11) << "not sent again";
  EXPECT_TRUE(worker().synchronising()) << "the link itself stays up";
}

TEST_F(SyncWorkerTest, Register0Of4095SkipsTheIdentityCheck) {
  sim::SimConfig config;
  config.register0 = 4095;
  config.answerIdentity = false;
  start(config);
  ASSERT_TRUE(waitSynchronising(10000));
  EXPECT_EQ(state().deviceId.load(), 0);
}

TEST_F(SyncWorkerTest, ADeviceThatNeverIdentifiesIsNotConnected) {
  sim::SimConfig config;
  config.answerIdentity = false;
  start(config);
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(worker().synchronising());
  EXPECT_EQ(events_.countNotify(kNotifyLinkStatus, 0), 0);
}

TEST_F(SyncWorkerTest, ClosingWhileARequestWaitsEndsPromptly) {
  sim::SimConfig config;
  config.refuseRecall = true;
  LinkTiming timing = LinkTiming::fast();
  timing.recallWait = 2000;  // the device's answer is awaited long
  start(config, timing);
  ASSERT_TRUE(waitSynchronising());
  table().setRegister(1243, 0x0602);
  worker().raiseRequest(kSlotRecallMode);
  ASSERT_TRUE(waitFor([&] { return amp_.framesReceived(CMD_RECALL_MODE) > 0; }));
  const auto t0 = Clock::now();
  worker().stopLink();
  EXPECT_LT(Clock::now() - t0, 2000ms);
  EXPECT_FALSE(worker().threadAlive());
}

TEST_F(SyncWorkerTest, ClosingWhileAMessageBoxWaitsEndsPromptly) {
  std::atomic<bool> release{false};
  events_.setMessageHandler([&](const RecordingEvents::Message&) {
    // A UI keeps the box up until the link stops.
    while (!release.load()) std::this_thread::sleep_for(1ms);
    return MessageResult::Ok;
  });
  start();
  ASSERT_TRUE(waitSynchronising());
  worker().setTransferFilePath("");
  worker().raiseRequest(kSlotSaveToFile);  // "Please enter the file name!"
  ASSERT_TRUE(waitFor([&] { return !events_.messages().empty(); }));
  std::thread closer([&] { worker().stopLink(); });
  std::this_thread::sleep_for(20ms);
  release.store(true);  // the UI's side of stopping: the box is released
  closer.join();
  EXPECT_FALSE(worker().threadAlive());
}

// Random edits over a lossy, corrupting link: in the end the amplifier holds
// what the table holds and nothing waits to be sent.
TEST_F(SyncWorkerTest, SoakOverALossyLink) {
  start();
  ASSERT_TRUE(waitSynchronising());
  sim::FaultConfig faults;
  faults.lossRate = 0.05;
  faults.corruptRate = 0.01;
  faults.seed = 7;
  amp_.setFaults(faults);
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pick(0, 130);
  const auto end = Clock::now() + 6s;
  while (Clock::now() < end) {
    const int address = 138 + pick(rng) + 136 * (pick(rng) % 8);
    table().setRegister(address, 300 + pick(rng));
    std::this_thread::sleep_for(std::chrono::milliseconds(pick(rng) % 7));
  }
  amp_.setFaults({});
  ASSERT_TRUE(waitFor([&] { return nothingDirty() && worker().synchronising(); }, 20000));
  // Compare after the link settles (a reconnect re-reads the device).
  for (int a = 1; a < kRegisterCount; ++a) {
    if (a == 1243 || a == 1244 || a == 1248) continue;
    ASSERT_EQ(amp_.reg(a), table().getRegister(a)) << "register " << a;
  }
}

}  // namespace
}  // namespace zr78::test
