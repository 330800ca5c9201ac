#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "link/frame_codec.h"
#include "link/frame_format.h"
#include "sync/worker_fixture.h"
#include "presets/preset_file.h"

namespace zr78::test {
namespace {

class WorkerOperationsTest : public WorkerFixture {
 protected:
  void SetUp() override {
    start();
    ASSERT_TRUE(waitSynchronising());
  }
  // A preset file with the given device id and password flag, every register
  // its address modulo 500 (an image unlike the defaults).
  std::string writePreset(const std::string& name, int deviceId, int passwordFlag) {
    std::array<int32_t, kRegisterCount> values{};
    for (int a = 0; a < kRegisterCount; ++a) values[a] = a % 500;
    PresetFile file(folders_);
    file.header.deviceId = static_cast<uint32_t>(deviceId);
    file.header.passwordFlag = static_cast<uint8_t>(passwordFlag);
    const auto p = path(name).string();
    EXPECT_EQ(file.writeImage(p, values), FileResult::Ok);
    return p;
  }
  std::array<int32_t, kRegisterCount> snapshot() {
    std::array<int32_t, kRegisterCount> v{};
    for (int a = 0; a < kRegisterCount; ++a) v[a] = table().getRegister(a);
    return v;
  }
};

TEST_F(WorkerOperationsTest, SaveThenLoadRestoresTheTuning) {
  std::mt19937 rng(3);
  for (int a = 1; a < 1234; ++a) amp_.setReg(a, rng() % 1000);
  amp_.setReg(1242, 2);
  worker().setTransferFilePath(path("backup.ryb").string());
  ASSERT_TRUE(runSlot(kSlotSaveToFile));
  ASSERT_TRUE(worker().lastRequestSucceeded(kSlotSaveToFile));
  ASSERT_TRUE(std::filesystem::exists(path("backup.ryb")));
  const auto saved = amp_.registers();

  // The tuning is lost on the amplifier, then the file is written back.
  for (int a = 1; a < kRegisterCount; ++a)
    if (a != 1248) amp_.setReg(a, 7);
  ASSERT_TRUE(runSlot(kSlotWriteFile));
  ASSERT_TRUE(worker().lastRequestSucceeded(kSlotWriteFile));
  for (int a = 0; a < kRegisterCount - 1; ++a) {
    if (a == 1239 || a == 1240 || a == 1242 || a == 1243 || a == 1244 || a == 1248) continue;
    ASSERT_EQ(amp_.reg(a), saved[a]) << "register " << a;
  }
  EXPECT_EQ(amp_.reg(1242), 7) << "the active mode is never written from a file";
  EXPECT_EQ(amp_.reg(1239), 7);
  EXPECT_EQ(amp_.reg(kRegisterCount - 1), 7) << "nor the image's last register";
  EXPECT_TRUE(nothingDirty());
}

TEST_F(WorkerOperationsTest, RefusedFilesChangeNothing) {
  struct Case {
    const char* name;
    int deviceId;
    int passwordFlag;
    bool exists;
    const char* message;
  } cases[] = {
      {"password", 4037, 1, true, "The data has a password ."},
      {"other device", 4038, 0, true, "Wrong file version。"},
      {"missing", 4037, 0, false, "No files。"},
  };
  for (const auto& c : cases) {
    const std::string p = c.exists ? writePreset(std::string(c.name) + ".ryb", c.deviceId, c.passwordFlag)
                                   : path("nowhere.ryb").string();
    const auto before = snapshot();
    events_.clear();
    worker().setTransferFilePath(p);
    ASSERT_TRUE(runSlot(kSlotWriteFile)) << c.name;
    EXPECT_FALSE(worker().lastRequestSucceeded(kSlotWriteFile)) << c.name;
    EXPECT_EQ(events_.countMessages(c.message), 1) << c.name;
    EXPECT_EQ(snapshot(), before) << c.name;
    EXPECT_TRUE(nothingDirty()) << c.name;
  }
}

TEST_F(WorkerOperationsTest, LosingTheLinkDuringAWriteIsReported) {
  const std::string p = writePreset("big.ryb", 4037, 0);
  sim::FaultConfig faults;
  faults.silent = true;  // the amplifier stops answering once the write starts
  events_.setMessageHandler([](const RecordingEvents::Message&) { return MessageResult::Ok; });
  worker().setTransferFilePath(p);
  amp_.setFaults(faults);
  ASSERT_TRUE(runSlot(kSlotWriteFile, 20000));
  EXPECT_EQ(events_.countMessages("Write Data Failed!"), 1);
}

// A register the amplifier never acknowledges is not written: the write
// fails, and the register is reported as given up.
TEST_F(WorkerOperationsTest, AFileWriteWithARegisterNeverAcknowledgedFails) {
  const std::string p = writePreset("most.ryb", 4037, 0);
  sim::SimConfig config = linkModel();
  config.unacknowledgedAddress = 300;
  amp_.setConfig(config);
  worker().setTransferFilePath(p);
  ASSERT_TRUE(runSlot(kSlotWriteFile, 30000));
  EXPECT_FALSE(worker().lastRequestSucceeded(kSlotWriteFile));
  EXPECT_EQ(events_.countNotify(kNotifyEditGivenUp, 300), 1);
  EXPECT_TRUE(waitFor([&] { return events_.countMessages("Write Data Failed!") == 1; }));
  EXPECT_EQ(amp_.reg(301), 301) << "the others were written";
}

TEST_F(WorkerOperationsTest, RefusedRecallIsReportedOnce) {
  sim::SimConfig config = linkModel();
  config.refuseRecall = true;
  amp_.setConfig(config);
  amp_.resetCounters();
  ASSERT_TRUE(completes([&] { worker().requestRecall(2); }));
  EXPECT_FALSE(worker().lastRequestSucceeded(kSlotRecallMode));
  EXPECT_EQ(amp_.framesReceived(CMD_RECALL_MODE), 3);
  EXPECT_EQ(events_.countMessages("Invocation pattern of failure!"), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(amp_.framesReceived(CMD_WRITE_REGISTERS), 0)
      << "no recall word is left to be sent later as a plain write";
}

TEST_F(WorkerOperationsTest, RecallShowsTheRecalledMode) {
  // Store a tuning as mode 4, then change it.
  table().setRegister(26, 560);
  ASSERT_TRUE(waitFor([&] { return amp_.reg(26) == 560; }));
  ASSERT_TRUE(completes([&] { worker().requestStore(4, "Four"); }));
  ASSERT_EQ(amp_.modeImage(4)[26], 560);
  table().setRegister(26, 600);
  ASSERT_TRUE(waitFor([&] { return amp_.reg(26) == 600; }));
  ASSERT_TRUE(completes([&] { worker().requestRecall(4); }));
  EXPECT_TRUE(worker().lastRequestSucceeded(kSlotRecallMode));
  EXPECT_EQ(table().getRegister(26), 560);
  EXPECT_EQ(table().getRegister(1242), 4);
  EXPECT_EQ(table().getRegister(1243), 0);
}

TEST_F(WorkerOperationsTest, NamingAModeReadsAllNamesAgain) {
  struct Case {
    const char* typed;
    const char* stored;
  } cases[] = {
      {"Bass night", "Bass night"},
      {"ABCDEFGHIJKLMNOPQRSTUVWX", "ABCDEFGHIJKLMNOPQRST"},  // 20 characters kept
  };
  for (const auto& c : cases) {
    amp_.resetCounters();
    ASSERT_TRUE(completes([&] { worker().requestStore(3, c.typed); })) << c.typed;
    EXPECT_TRUE(worker().lastRequestSucceeded(kSlotWriteModeName));
    EXPECT_EQ(amp_.modeName(3), c.stored);
    EXPECT_GE(amp_.framesReceived(CMD_READ_MODE_NAME), 6) << "all six names read again";
    EXPECT_EQ(state().modeNames[2].toString(), c.stored) << "read back without the padding";
    EXPECT_EQ(events_.countMessages("Save successfully!"), 1);
    events_.clear();
  }
}

TEST_F(WorkerOperationsTest, AModeNameRequestReadsOnlyTheName) {
  amp_.setModeName(4, "Club");
  table().setRegister(1243, 0x0605);  // whatever the command word holds
  ASSERT_TRUE(waitFor([&] { return !table().dirty(1243); }));
  amp_.resetCounters();
  worker().requestModeName(4);
  ASSERT_TRUE(waitFor([&] { return state().modeNames[3].toString() == "Club"; }));
  EXPECT_EQ(state().modeNameBuffer.toString(), "Club");
  EXPECT_EQ(table().getRegister(1243), 0x0605) << "a name reply only updates the names";
  EXPECT_GE(amp_.framesReceived(CMD_READ_MODE_NAME), 1);
  EXPECT_EQ(amp_.framesReceived(CMD_RECALL_MODE), 0);
}

// The frame of a name reply that arrives late, after the user chose another
// slot (the page asked for slot 3's name a moment before).
std::vector<uint8_t> lateNameReply(int mode) {
  std::vector<uint8_t> data{static_cast<uint8_t>(mode)};
  for (char c : std::string("Late name")) data.push_back(static_cast<uint8_t>(c));
  data.resize(26, ' ');
  return buildFrame(CMD_READ_MODE_NAME, data.data(), data.size());
}

TEST_F(WorkerOperationsTest, ALateNameReplyRedirectsNeitherARecallNorAStore) {
  const auto mode3 = amp_.modeImage(3);
  for (const bool recall : {true, false}) {
    SCOPED_TRACE(recall ? "recall" : "store");
    amp_.setReg(26, 555);  // the working tuning a store takes
    worker().pause();  // the loop idles: the reply lands before the operation runs
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t before = worker().requestsCompleted();
    if (recall)
      worker().requestRecall(5);
    else
      worker().requestStore(6, "Six");
    const auto reply = lateNameReply(3);
    session_->link.receiver().receiveBytes(reply.data(), reply.size());
    state().paused.store(false);  // no reconnect wanted here
    ASSERT_TRUE(waitFor([&] { return worker().requestsCompleted() != before; }));
    if (recall) {
      EXPECT_EQ(amp_.reg(1242), 5) << "the slot the user chose";
    } else {
      EXPECT_EQ(amp_.modeName(6), "Six");
      EXPECT_EQ(amp_.modeImage(6)[26], 555);
    }
    EXPECT_EQ(amp_.modeImage(3), mode3) << "mode 3 untouched";
  }
}

// What the user set before a save reaches the amplifier and the file; an
// edit made while the save reads the amplifier is not replaced by the read.
TEST_F(WorkerOperationsTest, SavingToAFileKeepsPendingEdits) {
  sim::SimConfig slow = linkModel();
  slow.reportIntervalUs = 3000;  // the save's dump takes about 0.4 s
  amp_.setConfig(slow);
  amp_.setReg(1600, 1111);
  worker().setTransferFilePath(path("kept.ryb").string());
  table().setRegister(148, 620);  // just before the save
  const uint32_t before = worker().requestsCompleted();
  worker().raiseRequest(kSlotSaveToFile);
  ASSERT_TRUE(waitFor([&] { return amp_.framesReceived(CMD_DUMP_ALL) >= 2 && table().fromDevice(5); }));
  table().setRegister(1600, 2222);  // while the read runs, before 1600 arrives
  ASSERT_TRUE(waitFor([&] { return worker().requestsCompleted() != before; }, 10000));
  EXPECT_TRUE(worker().lastRequestSucceeded(kSlotSaveToFile));
  ASSERT_TRUE(waitFor([&] { return nothingDirty(); }));
  EXPECT_EQ(amp_.reg(148), 620);
  EXPECT_EQ(amp_.reg(1600), 2222);
  EXPECT_EQ(table().getRegister(1600), 2222);
  PresetFile file(folders_);
  ASSERT_EQ(file.load(path("kept.ryb").string()), FileResult::Ok);
  EXPECT_EQ(file.values[148], 620);
  EXPECT_EQ(file.values[1600], 2222) << "the file holds what the amplifier holds";
}

// An edit the amplifier never takes (it neither stores nor echoes 148) made
// just before a save: the save never writes a file that disagrees with the
// amplifier without saying so; the edit is given up and the user told.
TEST_F(WorkerOperationsTest, ASaveNeverKeepsAnEditTheAmplifierDidNotTake) {
  sim::SimConfig config = linkModel();
  config.unacknowledgedAddress = 148;
  amp_.setConfig(config);
  sim::FaultConfig faults;
  faults.ignoreWrites = {148, 148};
  amp_.setFaults(faults);
  const int32_t held = amp_.reg(148);
  const std::string p = path("backup.ryb").string();
  worker().setTransferFilePath(p);
  table().setRegister(148, held == 620 ? 621 : 620);
  ASSERT_TRUE(runSlot(kSlotSaveToFile, 20000));
  EXPECT_EQ(events_.countNotify(kNotifyEditGivenUp, 148), 1);
  EXPECT_EQ(amp_.reg(148), held);
  if (worker().lastRequestSucceeded(kSlotSaveToFile)) {
    PresetFile file(folders_);
    ASSERT_EQ(file.load(p), FileResult::Ok);
    EXPECT_EQ(file.values[148], held) << "the file holds an edit the amplifier never took";
  }
}

// An edit made as the save begins (after the loop's write pass) is on the
// amplifier by the time the file is written, and in the file.
TEST_F(WorkerOperationsTest, AnEditMadeAsTheSaveBeginsIsOnTheAmplifierWhenTheFileIsWritten) {
  const std::string p = path("now.ryb").string();
  const int32_t wanted = amp_.reg(148) == 620 ? 621 : 620;
  std::atomic<int32_t> onAmplifier{-1};
  events_.setMessageHandler([&](const RecordingEvents::Message& m) {
    if (m.text.find("now.ryb") != std::string::npos) onAmplifier.store(amp_.reg(148));  // the save's report
    return MessageResult::Ok;
  });
  worker().setTransferFilePath(p);
  const uint32_t before = worker().requestsCompleted();
  worker().raiseRequest(kSlotSaveToFile);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (worker().requestRaised(kSlotSaveToFile) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::yield();  // the flag clears as the operation starts
  table().setRegister(148, wanted);
  ASSERT_TRUE(waitFor([&] { return worker().requestsCompleted() != before; }, 10000));
  ASSERT_TRUE(worker().lastRequestSucceeded(kSlotSaveToFile));
  EXPECT_EQ(onAmplifier.load(), wanted) << "the amplifier had the edit when the file was written";
  PresetFile file(folders_);
  ASSERT_EQ(file.load(p), FileResult::Ok);
  EXPECT_EQ(file.values[148], wanted);
}

class LockedModeTest : public WorkerFixture {};

TEST_F(LockedModeTest, LockedModeIsNeitherReadNorSaved) {
  sim::SimConfig config = linkModel();
  config.modeLockMask = 1u << 3;
  amp_.setReg(1242, 3);
  amp_.setReg(26, 590);
  start(config);
  ASSERT_TRUE(waitSynchronising());
  ASSERT_TRUE(state().modeLocked.load());
  EXPECT_EQ(events_.countMessages("Unable to read encrypted mode!"), 1)
      << "the lock is read before the first full read";
  EXPECT_EQ(table().getRegister(26), 600) << "the locked mode's values were not read";
  events_.clear();
  worker().setTransferFilePath(path("locked.ryb").string());
  ASSERT_TRUE(runSlot(kSlotSaveToFile));
  const auto messages = events_.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "Unable to read encrypted mode!");
  EXPECT_EQ(messages[1].text, "Save Failed!");
  EXPECT_FALSE(std::filesystem::exists(path("locked.ryb")));
}

TEST_F(LockedModeTest, AfterARecallTheLockDescribesTheRecalledMode) {
  sim::SimConfig config = linkModel();
  config.modeLockMask = 1u << 3;
  amp_.setReg(1242, 3);
  amp_.setReg(26, 577);
  start(config);
  ASSERT_TRUE(waitSynchronising());
  ASSERT_TRUE(completes([&] { worker().requestStore(2, "Two"); }));  // mode 2 (unlocked) holds 26 = 577
  ASSERT_EQ(amp_.modeImage(2)[26], 577);
  amp_.setReg(26, 600);
  events_.clear();
  ASSERT_TRUE(completes([&] { worker().requestRecall(2); }));
  EXPECT_TRUE(worker().lastRequestSucceeded(kSlotRecallMode));
  EXPECT_EQ(events_.countMessages("Unable to read encrypted mode!"), 0);
  EXPECT_FALSE(state().modeLocked.load());
  EXPECT_EQ(table().getRegister(26), 577);
}

}  // namespace
}  // namespace zr78::test
