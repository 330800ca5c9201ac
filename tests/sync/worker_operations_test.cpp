#include <gtest/gtest.h>

#include <filesystem>
#include <random>

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

TEST_F(WorkerOperationsTest, RefusedRecallIsReportedOnce) {
  sim::SimConfig config;
  config.refuseRecall = true;
  amp_.setConfig(config);
  amp_.resetCounters();
  table().setRegister(1243, 0x0602);
  ASSERT_TRUE(runSlot(kSlotRecallMode));
  EXPECT_EQ(amp_.framesReceived(CMD_RECALL_MODE), 3);
  EXPECT_EQ(events_.countMessages("Invocation pattern of failure!"), 1);
  EXPECT_EQ(table().getRegister(1243) & 0xFF00, 0x0600) << "kept for the plain write";
}

TEST_F(WorkerOperationsTest, RecallShowsTheRecalledMode) {
  // Store a tuning as mode 4 (a plain write of 0x0700 + mode), then change it.
  table().setRegister(26, 560);
  ASSERT_TRUE(waitFor([&] { return amp_.reg(26) == 560; }));
  table().setRegister(1243, 0x0704);
  ASSERT_TRUE(waitFor([&] { return amp_.modeImage(4)[26] == 560; }));
  table().setRegister(26, 600);
  ASSERT_TRUE(waitFor([&] { return amp_.reg(26) == 600; }));
  table().setRegister(1243, 0x0604);
  ASSERT_TRUE(runSlot(kSlotRecallMode));
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
    std::string padded = c.typed;
    padded.resize(kModeNameUnits, ' ');
    table().setRegisterQuiet(1243, 0x0703);
    state().modeNameBuffer.assign(padded);
    amp_.resetCounters();
    ASSERT_TRUE(runSlot(kSlotWriteModeName)) << c.typed;
    EXPECT_TRUE(worker().lastRequestSucceeded(kSlotWriteModeName));
    EXPECT_EQ(amp_.modeName(3), c.stored);
    EXPECT_GE(amp_.framesReceived(CMD_READ_MODE_NAME), 6) << "all six names read again";
    EXPECT_EQ(state().modeNames[2].toString(), c.stored) << "read back without the padding";
    EXPECT_EQ(events_.countMessages("Save successfully!"), 1);
    events_.clear();
  }
}

class LockedModeTest : public WorkerFixture {};

TEST_F(LockedModeTest, LockedModeIsNeitherReadNorSaved) {
  sim::SimConfig config;
  config.modeLockMask = 1u << 3;
  amp_.setReg(1242, 3);
  start(config);
  ASSERT_TRUE(waitSynchronising());
  ASSERT_TRUE(state().modeLocked.load());
  events_.clear();
  worker().setTransferFilePath(path("locked.ryb").string());
  ASSERT_TRUE(runSlot(kSlotSaveToFile));
  const auto messages = events_.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, "Unable to read encrypted mode!");
  EXPECT_EQ(messages[1].text, "Save Failed!");
  EXPECT_FALSE(std::filesystem::exists(path("locked.ryb")));
}

}  // namespace
}  // namespace zr78::test
