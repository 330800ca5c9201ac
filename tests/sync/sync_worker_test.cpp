#include "sync/sync_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/frame_format.h"
#include "sync/worker_fixture.h"

namespace zr78::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class SyncWorkerTest : public WorkerFixture {};

TEST_F(SyncWorkerTest, ConnectsReadsEverythingAndShowsIt) {
  amp_.randomiseMemory(5);  // what is read differs from every default
  start();
  ASSERT_TRUE(waitSynchronising());
  EXPECT_EQ(events_.title(), "ZR-78-USB");
  EXPECT_GE(events_.countNotify(kNotifyLinkStatus, 0), 1) << "connected was reported";
  for (int a = 0; a < kRegisterCount; ++a) {
    if (a == kHandshakeRegister) continue;  // written by the handshake
    ASSERT_EQ(table().getRegister(a), amp_.reg(a)) << "register " << a;
  }
  EXPECT_EQ(events_.countNotify(kNotifyRegister, 1600), 1) << "each arrived register shown once";
  const auto calls = events_.progressCalls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "format Read Device Data:%5.0f %%"), calls.end());
  EXPECT_NE(std::find(calls.begin(), calls.end(), "format Update Display Data:%5.0f %%"), calls.end());
  EXPECT_EQ(calls.back(), "hide");
  EXPECT_TRUE(nothingDirty());
  EXPECT_EQ(amp_.reg(kHandshakeRegister), 1) << "the handshake announces itself in register 1244";
}

TEST_F(SyncWorkerTest, EditsReachTheAmplifierAndTheLastValueWins) {
  start();
  ASSERT_TRUE(waitSynchronising());
  table().setRegister(148, 520);
  table().setRegister(148, 530);  // changed again before the first echo
  ASSERT_TRUE(waitFor([&] { return !table().dirty(148) && amp_.reg(148) == 530; }));
  EXPECT_EQ(table().getRegister(148), 530);
}

// A read reply never replaces a pending edit: the edit is sent.
TEST_F(SyncWorkerTest, AnEditDuringTheFullReadWins) {
  sim::SimConfig slow = linkModel();
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
  EXPECT_EQ(table().getRegister(1600), 2222) << "the reply arriving after the edit did not replace it";
  EXPECT_EQ(amp_.reg(1600), 2222);
}

TEST_F(SyncWorkerTest, QuietLinkPollsInputSourceAndConfiguration) {
  start(linkModel(), LinkTiming::usb());
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

TEST_F(SyncWorkerTest, PulledCableReconnectsWithAFullReadAndKeepsTheEditsMadeMeanwhile) {
  start();
  ASSERT_TRUE(waitSynchronising());
  events_.clear();
  amp_.unplug();
  ASSERT_TRUE(waitFor([&] { return events_.countNotify(kNotifyLinkStatus, 1) > 0; }));
  EXPECT_FALSE(state().connected.load());
  amp_.setReg(30, 555);          // changed on the amplifier while away
  table().setRegister(26, 570);  // and by the user meanwhile
  amp_.replug();
  ASSERT_TRUE(waitFor([&] { return events_.countNotify(kNotifyLinkStatus, 0) > 0; }, 10000));
  ASSERT_TRUE(waitSynchronising());
  EXPECT_EQ(table().getRegister(30), 555);
  ASSERT_TRUE(waitFor([&] { return !table().dirty(26); }));
  EXPECT_EQ(amp_.reg(26), 570) << "the edit made while unplugged is sent after the read";
  EXPECT_EQ(table().getRegister(26), 570);
}

TEST_F(SyncWorkerTest, PauseStopsAllTrafficAndResumeReadsEverything) {
  start();
  ASSERT_TRUE(waitSynchronising());
  worker().pause();
  std::this_thread::sleep_for(50ms);
  amp_.resetCounters();
  table().setRegister(26, 570);  // an edit while paused waits
  std::this_thread::sleep_for(600ms);
  for (int command : {CMD_IDENTIFY, CMD_WRITE_REGISTERS, CMD_READ_REGISTERS, CMD_DUMP_ALL})
    EXPECT_EQ(amp_.framesReceived(command), 0) << command;
  worker().resume();
  ASSERT_TRUE(waitFor([&] { return amp_.framesReceived(CMD_DUMP_ALL) > 0; }));
  ASSERT_TRUE(waitSynchronising());
  ASSERT_TRUE(waitFor([&] { return amp_.reg(26) == 570 && !table().dirty(26); }));
}

// The pause ends while the worker is in the middle of a send: the send's
// successful write must not cancel the fresh connection asked for.
TEST_F(SyncWorkerTest, ResumeReconnectsEvenWhenASendIsUnderWay) {
  GatedDevice& gate = this->gate();
  start(linkModel(), LinkTiming::fast(), &gate);
  ASSERT_TRUE(waitSynchronising());
  worker().pause();
  std::this_thread::sleep_for(50ms);
  table().setRegister(26, 570);
  const int dumps = amp_.framesReceived(CMD_DUMP_ALL);
  gate.hold();
  // The UI ends the pause in two steps, as it did: first `paused`...
  state().paused.store(false);
  ASSERT_TRUE(waitFor([&] { return gate.waiting() > 0; })) << "the worker is inside its write";
  worker().resume();  // ... then the forced reconnect
  gate.release();
  EXPECT_TRUE(waitFor([&] { return amp_.framesReceived(CMD_DUMP_ALL) > dumps; }, 3000))
      << "a fresh connection and full read";
}

TEST_F(SyncWorkerTest, ARegisterNeverAcknowledgedIsGivenUpAfterElevenSendsAndTheUserIsTold) {
  sim::SimConfig config = linkModel();
  config.unacknowledgedAddress = 300;
  start(config);
  ASSERT_TRUE(waitSynchronising());
  amp_.resetCounters();
  table().setRegister(300, 512);
  ASSERT_TRUE(waitFor([&] { return !table().dirty(300); }, 10000));
  EXPECT_EQ(table().tries(300), 0);
  EXPECT_EQ(amp_.framesReceived(CMD_WRITE_REGISTERS), 11);
  ASSERT_TRUE(waitFor([&] { return events_.countMessages("Write Data Failed!") == 1; }));
  EXPECT_EQ(events_.countNotify(kNotifyEditGivenUp, 300), 1);
  EXPECT_EQ(worker().editsGivenUp(), 1u);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(amp_.framesReceived(CMD_WRITE_REGISTERS), 11) << "not sent again";
  EXPECT_TRUE(worker().synchronising()) << "the link itself stays up";
}

// The sends of an edit are its own: read requests that covered the record
// before do not use them up.
TEST_F(SyncWorkerTest, ReadRequestsDoNotSpendTheSendsOfAnEdit) {
  sim::SimConfig config = linkModel();
  config.unacknowledgedAddress = 1620;
  start(config);
  ASSERT_TRUE(waitSynchronising());
  for (int i = 0; i < 12; ++i) {
    table().requestReread(1614, 1638);
    ASSERT_TRUE(waitFor([&] { return !table().rereadRequested(1614); }));
  }
  std::this_thread::sleep_for(50ms);
  amp_.resetCounters();
  table().setRegister(1620, 3);
  ASSERT_TRUE(waitFor([&] { return !table().dirty(1620); }, 10000));
  EXPECT_EQ(amp_.framesReceived(CMD_WRITE_REGISTERS), 11);
}

// An edit in flight when the cable is pulled keeps its sends across the
// reconnect. The full read that follows asks again and again for registers
// that never arrive (148 and 149 here, as on a bad cable); those requests do
// not use up the edit's sends: it is sent eleven times, then given up.
TEST_F(SyncWorkerTest, AFullReadsGapRequestsDoNotSpendTheSendsOfAnEditInFlight) {
  sim::SimConfig config = linkModel();
  config.unacknowledgedAddress = 148;
  start(config);
  ASSERT_TRUE(waitSynchronising());
  table().setRegister(148, 620);
  ASSERT_TRUE(waitFor([&] { return amp_.writesReceived(148) >= 1; }));
  amp_.unplug();
  ASSERT_TRUE(waitFor([&] { return !state().connected.load(); }));
  ASSERT_TRUE(table().dirty(148)) << "still in flight";
  sim::FaultConfig faults;
  faults.dropReads = {148, 149};
  amp_.setFaults(faults);
  amp_.resetCounters();
  events_.clear();
  amp_.replug();
  ASSERT_TRUE(waitFor([&] { return events_.countNotify(kNotifyEditGivenUp, 148) == 1; }, 20000));
  EXPECT_GE(amp_.framesReceived(CMD_READ_REGISTERS), 16) << "the gap requests ran";
  EXPECT_EQ(amp_.writesReceived(148), int{kSendsBeforeGivingUp}) << "sends after the reconnect";
  EXPECT_TRUE(waitFor([&] { return events_.countMessages("Write Data Failed!") == 1; }));
}

// An input change asks for the routing matrix again: that is what is read,
// nothing more, and an edit of the matrix meanwhile is not reverted.
TEST_F(SyncWorkerTest, AReReadReadsWhatWasAskedAndKeepsPendingEdits) {
  start();
  ASSERT_TRUE(waitSynchronising());
  std::this_thread::sleep_for(50ms);
  amp_.resetCounters();
  table().requestReread(kFirstRouteRegister, kLastRouteRegister);
  table().setRegister(1620, 33);
  ASSERT_TRUE(waitFor([&] {
    for (int a = kFirstRouteRegister; a <= kLastRouteRegister; ++a)
      if (table().rereadRequested(a)) return false;
    return true;
  }));
  ASSERT_TRUE(waitFor([&] { return !table().dirty(1620); }));
  std::this_thread::sleep_for(50ms);
  // 64 registers in three requests, and at most two keep-alive polls.
  EXPECT_GE(amp_.registersRequested(), 64);
  EXPECT_LE(amp_.registersRequested(), 64 + 2 * 2);
  EXPECT_LE(amp_.framesReceived(CMD_READ_REGISTERS), 3 + 2);
  EXPECT_EQ(amp_.reg(1620), 33);
  EXPECT_EQ(table().getRegister(1620), 33);

  // The last register alone: no request wraps to the first ones.
  std::this_thread::sleep_for(50ms);
  amp_.resetCounters();
  table().requestReread(kLastRouteRegister, kLastRouteRegister);
  ASSERT_TRUE(waitFor([&] { return !table().rereadRequested(kLastRouteRegister); }));
  std::this_thread::sleep_for(20ms);
  EXPECT_LE(amp_.registersRequested(), 1 + 2 * 2);
}

TEST_F(SyncWorkerTest, Register0Of4095SkipsTheIdentityCheck) {
  sim::SimConfig config = linkModel();
  config.register0 = 4095;
  config.answerIdentity = false;
  start(config);
  ASSERT_TRUE(waitSynchronising(10000));
  EXPECT_EQ(state().deviceId.load(), 0);
}

TEST_F(SyncWorkerTest, ADeviceThatNeverIdentifiesIsNotConnected) {
  sim::SimConfig config = linkModel();
  config.answerIdentity = false;
  start(config);
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(worker().synchronising());
  EXPECT_EQ(events_.countNotify(kNotifyLinkStatus, 0), 0);
}

TEST_F(SyncWorkerTest, ClosingWhileARequestWaitsEndsPromptly) {
  sim::SimConfig config = linkModel();
  config.refuseRecall = true;
  LinkTiming timing = LinkTiming::fast();
  timing.recallWait = 2000;  // the device's answer is awaited long
  start(config, timing);
  ASSERT_TRUE(waitSynchronising());
  worker().requestRecall(2);
  ASSERT_TRUE(waitFor([&] { return amp_.framesReceived(CMD_RECALL_MODE) > 0; }));
  const auto t0 = Clock::now();
  EXPECT_TRUE(worker().stopLink());
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

// The device stops answering in the middle of a write that then blocks for
// 10 s, and the close does not release it: stopping still ends within its
// bound, and says that the thread is still inside the device.
TEST_F(SyncWorkerTest, ClosingIsBoundedWhenTheDeviceHoldsAWrite) {
  GatedDevice& gate = this->gate();
  start(linkModel(), LinkTiming::fast(), &gate);
  ASSERT_TRUE(waitSynchronising());
  gate.hold(10s);
  table().setRegister(26, 570);
  ASSERT_TRUE(waitFor([&] { return gate.waiting() > 0; }));
  const auto t0 = Clock::now();
  EXPECT_FALSE(worker().stopLink()) << "the thread is still in the write";
  const auto took = Clock::now() - t0;
  EXPECT_LT(took, 2200ms);
  EXPECT_GE(took, 1900ms) << "the bound is LinkTiming::stopJoinLimit";
  const auto t1 = Clock::now();
  EXPECT_FALSE(worker().stopLink()) << "a second call waits no longer";
  EXPECT_LT(Clock::now() - t1, 100ms);
  gate.release();  // the write returns; the fixture's end joins the thread
  EXPECT_TRUE(waitFor([&] { return !worker().threadAlive(); }));
  EXPECT_TRUE(worker().stopLink());
}

}  // namespace
}  // namespace zr78::test
