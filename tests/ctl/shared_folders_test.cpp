// zr78 and zr78ctl share one set of folders in the per-user data folder: a
// tuning saved by name from one working folder is listed and loaded from
// another, and lies under $XDG_DATA_HOME/zr78 (HOME/.local/share/zr78 when
// XDG_DATA_HOME is unset).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ctl/ctl_process.h"

namespace zr78::test {
namespace {

namespace fs = std::filesystem;

TEST(SharedFolders, ATuningSavedByNameIsFoundFromAnotherWorkingFolder) {
  const struct {
    const char* name;
    bool dataHomeSet;
  } cases[] = {{"XDG_DATA_HOME set", true}, {"XDG_DATA_HOME unset", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CtlProcess ctl("zr78-shared-folders-");
    if (!c.dataHomeSet) ctl.unsetDataHome();
    const fs::path data = c.dataHomeSet ? ctl.dataHome() : ctl.home() / ".local" / "share";
    const fs::path first = ctl.root() / "first", second = ctl.root() / "second";
    fs::create_directories(first);
    fs::create_directories(second);

    // The default --simulate state file lies in the same data folder, so the
    // two runs talk to one virtual amplifier.
    ASSERT_EQ(ctl.run("device --simulate set 148 620", first).exitCode, 0);
    const CtlRun saved = ctl.run("device --simulate save Bass", first);
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const fs::path file = data / "zr78" / "FileData" / "Bass.ryb";
    EXPECT_TRUE(fs::is_regular_file(file));
    EXPECT_TRUE(fs::is_regular_file(data / "zr78" / "virtual-amplifier.state"));
    EXPECT_TRUE(fs::is_empty(first)) << "nothing is written into the working folder";

    const CtlRun listed = ctl.run("preset list", second);
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out, "Bass.ryb\t" + (data / "zr78" / "FileData").string() + "\n");

    ASSERT_EQ(ctl.run("device --simulate set 148 400", second).exitCode, 0);
    const CtlRun loaded = ctl.run("device --simulate load Bass", second);
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    const CtlRun read = ctl.run("device --simulate get 148", second);
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, "148 620\n");
    EXPECT_TRUE(fs::is_empty(second));
  }
}

}  // namespace
}  // namespace zr78::test
