// `zr78ctl device` as a user runs it: separate processes on one virtual
// amplifier whose memory lives in a state file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

class DeviceCtlTest : public ::testing::Test {
 protected:

  // Runs `zr78ctl device --simulate=<state> ARGS`; returns the exit code and
  // keeps stdout.
  int run(const std::string& args) {
    const fs::path out = dir_ / "out.txt";
    const std::string command = "\"" + std::string(ZR78CTL_PATH) + "\" device --simulate=\"" +
                                (dir_ / "amp.state").string() + "\" " + args + " >\"" + out.string() +
                                "\" 2>/dev/null";
    const int status = std::system(command.c_str());
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    output_ = text.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  zr78::test::TempDir temp_{"zr78-device-ctl-"};
  const fs::path dir_ = temp_.path();
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
  ASSERT_EQ(run("save \"" + file + "\""), 0);
  EXPECT_TRUE(fs::exists(file));
  ASSERT_EQ(run("set 148 400"), 0);
  ASSERT_EQ(run("load \"" + file + "\""), 0);
  ASSERT_EQ(run("get 148"), 0);
  EXPECT_EQ(output_, "148 620\n");
}

TEST_F(DeviceCtlTest, FailuresGiveNonZeroExitCodes) {
  const struct {
    const char* args;
  } cases[] = {
      {"load \"nowhere.ryb\""},   // "No files。"
      {"recall 7"},               // modes are 1..6
      {"get 1670 20"},            // beyond the table
      {"set 20 70000"},           // not a 16-bit value
      {"name 2 \"caf\xC3\xA9\""},  // outside the name's characters
  };
  for (const auto& c : cases) EXPECT_NE(run(c.args), 0) << c.args;
}

}  // namespace
