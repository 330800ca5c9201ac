// `zr78ctl device` as a user runs it: separate processes on one virtual
// amplifier whose memory lives in a state file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "ctl/ctl_process.h"

namespace zr78::test {
namespace {

namespace fs = std::filesystem;

class DeviceCtlTest : public ::testing::Test {
 protected:
  // Runs `zr78ctl device --simulate=<state> ARGS`; keeps stdout.
  int run(const std::string& args) {
    const CtlRun result = ctl_.run("device --simulate=" + shellQuoted(state_.string()) + " " + args);
    output_ = result.out;
    return result.exitCode;
  }

  CtlProcess ctl_{"zr78-device-ctl-"};
  const fs::path dir_ = ctl_.root();
  const fs::path state_ = dir_ / "amp.state";
  std::string output_;
};

TEST_F(DeviceCtlTest, TheVirtualAmplifierKeepsItsMemoryAcrossRuns) {
  ASSERT_EQ(run("set 26 590 591"), 0);
  ASSERT_EQ(run("get 26 3"), 0);
  EXPECT_EQ(output_, "26 590\n27 591\n28 600\n");
  ASSERT_EQ(run("name 3 \"Bass night\""), 0);
  ASSERT_EQ(run("info"), 0);
  EXPECT_NE(output_.find("device id: 4037\n"), std::string::npos) << output_;
  EXPECT_NE(output_.find("mode 3: Bass night\n"), std::string::npos) << output_;
}

TEST_F(DeviceCtlTest, SaveAndLoadGoThroughPresetFiles) {
  const std::string file = (dir_ / "tuning.ryb").string();
  ASSERT_EQ(run("set 148 620"), 0);
  ASSERT_EQ(run("save " + shellQuoted(file)), 0);
  EXPECT_TRUE(fs::exists(file));
  ASSERT_EQ(run("set 148 400"), 0);
  ASSERT_EQ(run("load " + shellQuoted(file)), 0);
  ASSERT_EQ(run("get 148"), 0);
  EXPECT_EQ(output_, "148 620\n");
}

TEST_F(DeviceCtlTest, FailuresGiveTheirExitCodes) {
  std::ofstream(dir_ / "damaged.ryb") << "not a preset file";
  const struct {
    std::string args;
    int exitCode;
  } cases[] = {
      {"load nowhere.ryb", 4},                                        // cannot open
      {"load " + shellQuoted((dir_ / "damaged.ryb").string()), 6},   // damaged
      {"load ''", 7},                                                 // empty name
      {"save ''", 7},
      {"recall 7", 2},                 // modes are 1..6
      {"get 1670 20", 2},              // beyond the table
      {"set 20 70000", 2},             // not a 16-bit value
      {"name 2 \"caf\xC3\xA9\"", 2},   // outside the name's characters
      {"set", 2},                      // arguments missing
      {"frobnicate", 2},               // no such command
  };
  for (const auto& c : cases) EXPECT_EQ(run(c.args), c.exitCode) << c.args;
  EXPECT_FALSE(fs::exists(state_)) << "argument and file checks come before the amplifier";
}

// A bad cable rehearsed: on a lossy link `set` succeeds only with a
// read-back, and a stalled amplifier ends the command within 10 s.
TEST_F(DeviceCtlTest, SimulatedFaults) {
  ASSERT_EQ(run("--sim-faults loss=0.05,seed=3 set 148 33000"), 0) << ctl_.run("").err;
  ASSERT_EQ(run("--sim-faults loss=0.05,seed=3 get 148"), 0);
  EXPECT_EQ(output_, "148 33000\n");

  const auto t0 = std::chrono::steady_clock::now();
  const CtlRun stalled = ctl_.run("device --simulate=" + shellQuoted(state_.string()) + " --sim-faults stall set 148 1");
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));
  EXPECT_NE(stalled.exitCode, 0);
  EXPECT_NE(stalled.err.find("error: no amplifier answered"), std::string::npos) << stalled.err;
  ASSERT_EQ(run("get 148"), 0);
  EXPECT_EQ(output_, "148 33000\n") << "the stalled run changed nothing";

  EXPECT_EQ(run("--sim-faults wobble=1 info"), 2);
  EXPECT_EQ(ctl_.run("device --sim-faults loss=0.1 info").exitCode, 2) << "only with --simulate";
}

// Only what the amplifier confirmed succeeds: a write it echoes without
// storing and a register its reads never deliver fail the command with a
// message.
TEST_F(DeviceCtlTest, OnlyWhatTheAmplifierConfirmedSucceeds) {
  ASSERT_EQ(run("set 148 620"), 0);
  const std::string device = "device --simulate=" + shellQuoted(state_.string()) + " --sim-faults ";

  const CtlRun echoedOnly = ctl_.run(device + "ignore-writes=148 set 148 700");
  EXPECT_NE(echoedOnly.exitCode, 0);
  EXPECT_NE(echoedOnly.err.find("error: register 148 reads 620, not 700"), std::string::npos) << echoedOnly.err;

  const CtlRun undelivered = ctl_.run(device + "drop-reads=148 get 147 3");
  EXPECT_NE(undelivered.exitCode, 0);
  EXPECT_EQ(undelivered.out.find("148 "), std::string::npos) << "no line for 148: " << undelivered.out;
  EXPECT_NE(undelivered.out.find("149 "), std::string::npos) << undelivered.out;
  EXPECT_NE(undelivered.err.find("error: the amplifier did not deliver register 148"), std::string::npos)
      << undelivered.err;
}

// A load whose register the amplifier never acknowledges fails and names it.
TEST_F(DeviceCtlTest, ALoadListsTheRegistersItGaveUp) {
  const std::string device = "device --simulate=" + shellQuoted(state_.string()) + " --sim-faults ";
  const std::string file = (dir_ / "tuning.ryb").string();
  ASSERT_EQ(run("save " + shellQuoted(file)), 0);  // a load writes every register
  const CtlRun unacknowledged = ctl_.run(device + "no-echo=300 load " + shellQuoted(file));
  EXPECT_NE(unacknowledged.exitCode, 0);
  EXPECT_NE(unacknowledged.err.find("error: the amplifier did not acknowledge register 300\n"), std::string::npos)
      << unacknowledged.err;
}

// A file the amplifier refuses ("Wrong file version。": another device id)
// is a failed operation, not a file error.
TEST_F(DeviceCtlTest, ARefusedFileIsAFailedOperation) {
  ASSERT_EQ(run("save " + shellQuoted((dir_ / "mine.ryb").string())), 0);
  const CtlRun exported = ctl_.run("preset export " + shellQuoted((dir_ / "mine.ryb").string()));
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  std::string json = exported.out;
  const size_t id = json.find("\"deviceId\": 4037");
  ASSERT_NE(id, std::string::npos) << json;
  json.replace(id, 16, "\"deviceId\": 4038");
  std::ofstream(dir_ / "other.json") << json;
  ASSERT_EQ(ctl_.run("preset import " + shellQuoted((dir_ / "other.json").string()) + " " +
                     shellQuoted((dir_ / "other.ryb").string()))
                .exitCode,
            0);
  EXPECT_EQ(run("load " + shellQuoted((dir_ / "other.ryb").string())), 1);
}

}  // namespace
}  // namespace zr78::test
