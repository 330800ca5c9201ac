// A tuning saved in the settings window is a tuning zr78ctl lists and loads,
// and the reverse: the window runs here on its virtual amplifier, zr78ctl as
// a process on its own, both with the per-user data folder of one temp
// folder.
#include <cstdlib>

#include "ctl/ctl_process.h"
#include "settings_fixture.h"

namespace zr78::test {
namespace {

namespace fs = std::filesystem;

class PresetCtlCrossCheck : public SettingsFixture {
 protected:
  // The folders the window takes from XDG_DATA_HOME, as zr78ctl does.
  void useDataHome() {
    const char* was = std::getenv("XDG_DATA_HOME");
    const std::string saved = was ? was : "";
    ::setenv("XDG_DATA_HOME", ctl_.dataHome().c_str(), 1);
    Folders folders = Folders::forUserData();
    was ? ::setenv("XDG_DATA_HOME", saved.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    folders.working = root_;
    options_.folders = folders;
  }
  CtlRun ctl(const std::string& arguments) { return ctl_.run(arguments); }

  CtlProcess ctl_{"zr78-crosscheck-"};
};

TEST_F(PresetCtlCrossCheck, WindowAndCtlShareTheirTunings) {
  useDataHome();
  ASSERT_TRUE(startConnected());
  const fs::path presetFolder = ctl_.dataHome() / "zr78" / "FileData";

  // Saved in the window: listed and loaded by zr78ctl.
  deviceValue(148, 620);
  ASSERT_NE(openSettings(), nullptr);
  showTab(SettingsWindow::kLocalTab);
  type(files().nameField(), "Window");
  {
    BoxAnswerer boxes;
    press(files().saveButton());
    ASSERT_TRUE(waitUntil([&] { return !boxes.seen().empty(); }, 15000));
    ASSERT_EQ(boxes.seen()[0].title, "Save successfully!") << boxes.seen()[0].text.toStdString();
  }
  const CtlRun listed = ctl("preset list");
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_EQ(listed.out, "Window.ryb\t" + presetFolder.string() + "\n");
  ASSERT_EQ(ctl("device --simulate set 148 400").exitCode, 0);
  const CtlRun loaded = ctl("device --simulate load Window");
  ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
  EXPECT_EQ(ctl("device --simulate get 148").out, "148 620\n");

  // Saved by zr78ctl: listed and loaded by the window.
  ASSERT_EQ(ctl("device --simulate set 148 440").exitCode, 0);
  const CtlRun saved = ctl("device --simulate save Ctl");
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  settings().close();
  ASSERT_TRUE(waitUntil([&] { return openSettingsWindow(window()) == nullptr; }));
  ASSERT_NE(openSettings(), nullptr);
  showTab(SettingsWindow::kLocalTab);
  chooseRow(files().fileList(), static_cast<int>(rows(files().fileList()).indexOf("Ctl.ryb")));
  ASSERT_EQ(files().nameField()->text(), "Ctl.ryb");
  const uint32_t done = session().worker.requestsCompleted();
  BoxAnswerer boxes;
  press(files().loadButton());
  ASSERT_TRUE(waitRequests(done));
  EXPECT_TRUE(session().worker.lastRequestSucceeded(kSlotWriteFile));
  EXPECT_EQ(amp().reg(148), 440);
  EXPECT_TRUE(boxes.seen().empty());
}

}  // namespace
}  // namespace zr78::test
