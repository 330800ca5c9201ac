#include "device/amplifier.h"

#include <gtest/gtest.h>

#include <fstream>

#include "device/state_file.h"
#include "sim/virtual_amplifier.h"
#include "temp_dir.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;

class AmplifierTest : public ::testing::Test {
 protected:
  test::TempDir temp_{"zr78-amplifier-"};
  Folders folders_ = [this] {
    Folders folders;
    folders.program = temp_.path() / "data";
    folders.fallback = temp_.path() / "data";
    folders.baseName = "zr78";
    return folders;
  }();
};

// The virtual amplifier's memory survives a restart; its state file is the
// per-user folder's unless one is given, and its folder is made at the end.
TEST_F(AmplifierTest, TheVirtualAmplifierKeepsItsMemoryInItsStateFile) {
  const fs::path given = temp_.path() / "elsewhere" / "amp.state";
  for (const fs::path& choice : {fs::path(), given}) {
    const fs::path expected = choice.empty() ? folders_.fallback / "virtual-amplifier.state" : given;
    SCOPED_TRACE(expected.string());
    {
      Amplifier amplifier({true, choice}, folders_);
      EXPECT_EQ(amplifier.statePath(), expected);
      EXPECT_EQ(amplifier.warning(), "");
      ASSERT_NE(amplifier.virtualAmplifier(), nullptr);
      amplifier.virtualAmplifier()->setReg(13, 555);
      EXPECT_EQ(amplifier.saveState(), "");
    }
    Amplifier again({true, choice}, folders_);
    EXPECT_EQ(again.virtualAmplifier()->reg(13), 555);
  }
}

TEST_F(AmplifierTest, ADamagedStateFileGivesTheFactoryStateAndAWarning) {
  const fs::path state = temp_.path() / "amp.state";
  std::ofstream(state) << "not a state file";
  Amplifier amplifier({true, state}, folders_);
  EXPECT_NE(amplifier.warning().find("is damaged; starting from defaults"), std::string::npos) << amplifier.warning();
  EXPECT_EQ(amplifier.virtualAmplifier()->reg(13), sim::VirtualAmplifier().reg(13));
}

TEST_F(AmplifierTest, AStateThatCannotBeSavedIsReported) {
  std::ofstream(temp_.path() / "file") << "a file, not a folder";
  Amplifier amplifier({true, temp_.path() / "file" / "amp.state"}, folders_);
  EXPECT_NE(amplifier.saveState().find("cannot save the virtual amplifier's state"), std::string::npos);
}

// One lock per state file for the virtual amplifier; the real one keeps the
// USB channel's own lock.
TEST_F(AmplifierTest, ChannelLockNames) {
  const fs::path state = temp_.path() / "amp.state";
  Amplifier a({true, state}, folders_), b({true, temp_.path() / "." / "amp.state"}, folders_),
      other({true, temp_.path() / "other.state"}, folders_), real({false, {}}, folders_);
  EXPECT_EQ(a.channelLockName(), simulatorLockName(state));
  EXPECT_EQ(a.channelLockName(), b.channelLockName());
  EXPECT_NE(a.channelLockName(), other.channelLockName());
  EXPECT_EQ(real.channelLockName(), "");
  EXPECT_EQ(real.virtualAmplifier(), nullptr);
  EXPECT_TRUE(real.statePath().empty());
  EXPECT_EQ(real.saveState(), "");
}

}  // namespace
}  // namespace zr78
