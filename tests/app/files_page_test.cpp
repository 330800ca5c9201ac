// The "Local" page against the virtual amplifier, with real clicks and keys:
// the list of every folder, saving the device to the PC (and asking before a
// tuning is replaced, wherever it lies), writing a file into the device,
// deleting exactly the listed file, and the file dialog.
#include <QDialogButtonBox>
#include <QFileDialog>

#include "link/link_state.h"
#include "settings_fixture.h"
#include "ctl/ctl_process.h"
#include "link/frame_format.h"

namespace zr78::test {
namespace {

namespace fs = std::filesystem;

class FilesPageTest : public SettingsFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(startConnected()); }

  void openLocal() {
    ASSERT_NE(openSettings(), nullptr);
    showTab(SettingsWindow::kLocalTab);
  }
  void typeName(const QString& name) { type(files().nameField(), name); }
  QStringList listed() { return rows(files().fileList()); }
  static QString full(const fs::path& file) { return QString::fromStdString(file.string()); }
  // Clicks a button and waits for the boxes of the request it raises.
  void pressAndWait(QPushButton* button, BoxAnswerer& boxes, size_t count) {
    press(button);
    ASSERT_TRUE(waitUntil([&] { return boxes.seen().size() >= count; }, 15000)) << boxes.seen().size();
  }
  bool noFileNamed(const std::string& name) {
    for (const fs::path& folder : {root_, presetFolder(), fallbackFolder()})
      if (fs::exists(folder / name)) return false;
    return true;
  }
};

TEST_F(FilesPageTest, ListsEveryFolderAndNamesTheFolderOfNamesakes) {
  writePreset(root_ / "Work.ryb");
  writePreset(presetFolder() / "Mid.RYB");
  writePreset(presetFolder() / "Bass.ryb");
  writePreset(fallbackFolder() / "bass.ryb");
  writePreset(fallbackFolder() / "Top.ryb");
  std::ofstream(presetFolder() / "notes.txt") << "not a tuning";
  openLocal();
  // Each folder's files in name order, capitals first.
  const QStringList expected = {"Work.ryb", full(presetFolder() / "Bass.ryb"), "Mid.RYB", "Top.ryb",
                                full(fallbackFolder() / "bass.ryb")};
  EXPECT_EQ(listed().join(" | "), expected.join(" | "));
  EXPECT_EQ(files().nameField()->text(), "Work.ryb");
}

TEST_F(FilesPageTest, SaveToPcWritesTheDeviceIntoThePresetFolder) {
  deviceValue(148, 620);
  openLocal();
  typeName("Bass");
  BoxAnswerer boxes;
  pressAndWait(files().saveButton(), boxes, 1);
  EXPECT_EQ(boxes.seen()[0].title, "Save successfully!");
  EXPECT_EQ(boxes.seen()[0].text, full(presetFolder() / "Bass.ryb"));
  PresetFile saved(folders());
  ASSERT_EQ(saved.readImage(utf8FromPath(presetFolder() / "Bass.ryb")), FileResult::Ok);
  EXPECT_EQ(saved.values[148], 620);
  EXPECT_EQ(saved.header.deviceId, 4037u);
  EXPECT_TRUE(listed().contains("Bass.ryb"));
}

TEST_F(FilesPageTest, SaveToPcNeedsANameAndADevice) {
  openLocal();
  typeName("");
  const uint32_t done = session().worker.requestsCompleted();
  {
    BoxAnswerer boxes;
    press(files().saveButton());
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, "No files。");
    EXPECT_EQ(boxes.seen()[0].title, "ZR-78-USB");
  }
  amp().unplug();
  ASSERT_TRUE(waitUntil([&] { return !session().state.connected.load(); }));
  typeName("Bass");
  BoxAnswerer boxes;
  press(files().saveButton());
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "No Device!");
  EXPECT_FALSE(session().worker.requestRaised(kSlotSaveToFile));
  EXPECT_EQ(session().worker.requestsCompleted(), done);
}

TEST_F(FilesPageTest, ProtectedModeIsNotSaved) {
  sim::SimConfig config = amp().config();
  config.modeLockMask = 1u << 3;  // the current mode, 3
  amp().setConfig(config);
  // The protection arrives with the identity: connect again. The full read
  // of the connection finds the mode locked and says so.
  BoxAnswerer boxes;
  click(window().topButton(kButtonStatus));
  click(window().topButton(kButtonStatus));
  ASSERT_TRUE(waitUntil([&] { return session().state.modeLocked.load() != 0; }, 15000));
  ASSERT_TRUE(waitUntil([&] { return !boxes.seen().empty(); }, 15000));
  EXPECT_EQ(boxes.seen()[0].text, "Unable to read encrypted mode!");
  ASSERT_TRUE(waitConnected(15000));
  openLocal();
  typeName("Locked");
  pressAndWait(files().saveButton(), boxes, 3);
  EXPECT_EQ(boxes.seen()[1].text, "Unable to read encrypted mode!");
  EXPECT_EQ(boxes.seen()[2].text, "Save Failed!");
  QTest::qWait(100);
  EXPECT_EQ(boxes.seen().size(), 3u);
  EXPECT_TRUE(noFileNamed("Locked.ryb"));
}

TEST_F(FilesPageTest, FileOfAnotherDeviceIsRefused) {
  writePreset(presetFolder() / "Other.ryb", {{148, 700}}, 4038);
  const auto before = amp().registers();
  openLocal();
  typeName("Other");
  BoxAnswerer boxes;
  pressAndWait(files().loadButton(), boxes, 1);
  EXPECT_EQ(boxes.seen()[0].text, "Wrong file version。");
  QTest::qWait(100);
  EXPECT_EQ(amp().registers(), before);
  EXPECT_EQ(table().getRegister(148), before[148]);
}

// Everything but the password words, the current mode and the mode command
// word reaches the device, and the page shows what it now holds.
TEST_F(FilesPageTest, LoadToDspWritesTheFileButNotThePasswordOrModeWords) {
  const auto before = amp().registers();
  writePreset(presetFolder() / "Stage.ryb",
              {{148, 650}, {kNoiseGateRegister, 184}, {kPasswordWord0Register, 1111},
               {kPasswordWord1Register, 2222}, {kActiveModeRegister, 5}, {kModeCommandRegister, 0x0601}});
  openLocal();
  chooseRow(files().fileList(), static_cast<int>(listed().indexOf("Stage.ryb")));
  const uint32_t done = session().worker.requestsCompleted();
  BoxAnswerer boxes;
  press(files().loadButton());
  ASSERT_TRUE(waitRequests(done));
  EXPECT_TRUE(session().worker.lastRequestSucceeded(kSlotWriteFile));
  EXPECT_EQ(amp().reg(148), 650);
  EXPECT_EQ(amp().reg(kNoiseGateRegister), 184);
  for (int a : {kPasswordWord0Register, kPasswordWord1Register, kActiveModeRegister, kModeCommandRegister})
    EXPECT_EQ(amp().reg(a), before[a]) << a;
  EXPECT_EQ(amp().framesReceived(CMD_RECALL_MODE), 0);
  EXPECT_TRUE(waitUntil([&] { return modes().noiseGateField()->value() == 19; }));
  EXPECT_TRUE(boxes.seen().empty());
}

TEST_F(FilesPageTest, LoadToDspWithAnEmptyFieldFilesNoRequest) {
  writePreset(presetFolder() / "Bass.ryb");
  openLocal();
  typeName("");
  const uint32_t done = session().worker.requestsCompleted();
  BoxAnswerer boxes;
  press(files().loadButton());
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "No files。");
  QTest::qWait(200);
  EXPECT_FALSE(session().worker.requestRaised(kSlotWriteFile));
  EXPECT_EQ(session().worker.requestsCompleted(), done);
}

// A tuning of that name anywhere the program looks is asked about, whatever
// the letter case of its extension; Cancel leaves it as it was.
TEST_F(FilesPageTest, SaveOverAnExistingTuningAsksFirstWhereverItLies) {
  const struct {
    const char* name;
    fs::path existing;
    QString typed;
    QString question;
  } cases[] = {
      {"preset folder only", presetFolder() / "Bass.ryb", "Bass", "Bass.ryb"},
      {"fallback folder, extension in capitals", fallbackFolder() / "Bass.RYB", "Bass", "Bass.ryb"},
      {"working folder, typed in capitals", root_ / "Bass.ryb", "Bass.RYB", "Bass.RYB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writePreset(c.existing, {{148, 444}});
    const std::string kept = fileText(c.existing);
    openLocal();
    typeName(c.typed);
    const uint32_t done = session().worker.requestsCompleted();
    BoxAnswerer boxes(QMessageBox::Cancel);
    press(files().saveButton());
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].title, "Warning");
    EXPECT_EQ(boxes.seen()[0].text, c.question + "File already exists!\n Whether or not covered!");
    EXPECT_EQ(boxes.seen()[0].buttons, QStringList({"OK", "Cancel"}));
    QTest::qWait(200);
    EXPECT_EQ(session().worker.requestsCompleted(), done);
    EXPECT_EQ(fileText(c.existing), kept);
    EXPECT_EQ(fs::exists(presetFolder() / "Bass.ryb"), c.existing == presetFolder() / "Bass.ryb");
    settings().close();
    ASSERT_TRUE(waitUntil([&] { return openSettingsWindow(window()) == nullptr; }));
    fs::remove(c.existing);
  }

  // OK replaces it.
  writePreset(presetFolder() / "Bass.ryb", {{148, 444}});
  deviceValue(148, 620);
  openLocal();
  typeName("Bass");
  BoxAnswerer boxes(QMessageBox::Ok);
  pressAndWait(files().saveButton(), boxes, 2);
  EXPECT_EQ(boxes.seen()[0].title, "Warning");
  EXPECT_EQ(boxes.seen()[1].title, "Save successfully!");
  PresetFile saved(folders());
  ASSERT_EQ(saved.readImage(utf8FromPath(presetFolder() / "Bass.ryb")), FileResult::Ok);
  EXPECT_EQ(saved.values[148], 620);
}

TEST_F(FilesPageTest, DeleteRemovesExactlyTheListedFile) {
  writePreset(presetFolder() / "Bass.ryb");
  writePreset(fallbackFolder() / "Bass.ryb");
  writePreset(root_ / "Solo.ryb");
  std::ofstream(root_ / "notes.ryb.txt") << "not a tuning";
  openLocal();
  const int fallbackCopy = static_cast<int>(listed().indexOf(full(fallbackFolder() / "Bass.ryb")));
  ASSERT_GE(fallbackCopy, 0) << listed().join("|").toStdString();
  chooseRow(files().fileList(), fallbackCopy);
  BoxAnswerer boxes;
  press(files().deleteButton());
  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_FALSE(fs::exists(fallbackFolder() / "Bass.ryb"));
  EXPECT_TRUE(fs::exists(presetFolder() / "Bass.ryb"));
  EXPECT_EQ(listed().join(" | "), "Solo.ryb | Bass.ryb");
  EXPECT_EQ(files().nameField()->text(), "");

  // A typed name is the file a load would take.
  typeName("Solo");
  press(files().deleteButton());
  EXPECT_FALSE(fs::exists(root_ / "Solo.ryb"));
  EXPECT_EQ(listed().join(" | "), "Bass.ryb");

  // Nothing to delete: no name, a name that lies nowhere, a file that is no
  // tuning.
  for (const QString& typed : {QString(), QStringLiteral("Ghost"), QStringLiteral("notes.ryb.txt")}) {
    SCOPED_TRACE(typed.toStdString());
    typeName(typed);
    const size_t seen = boxes.seen().size();
    press(files().deleteButton());
    ASSERT_EQ(boxes.seen().size(), seen + 1);
    EXPECT_EQ(boxes.seen().back().text, "Delete failed.\n no files!");
  }
  EXPECT_TRUE(fs::exists(root_ / "notes.ryb.txt"));
  EXPECT_TRUE(fs::exists(presetFolder() / "Bass.ryb"));
}

// The file dialog speaks the UI language; the chosen file (".ryb" added when
// typed without it) joins the list and the field.
TEST_F(FilesPageTest, BrowserAddsTheChosenFile) {
  const fs::path elsewhere = root_ / "elsewhere";
  fs::create_directories(elsewhere);
  const struct {
    Language language;
    QStringList filters;
    QString chosen;
  } cases[] = {
      {Language::kEnglish, {"The default file(*.ryb)", "All the files (*.*)"}, "Mid"},
      {Language::kSimplifiedChinese, {"默认文件(*.ryb)", "所有文件 (*.*)"}, "Mid.ryb"},
      {Language::kTraditionalChinese, {"默認文件(*.ryb)", "所有文件 (*.*)"}, "Top"},
  };
  openLocal();
  for (const auto& c : cases) {
    SCOPED_TRACE(languageIndex(c.language));
    app_->language().set(c.language);
    QStringList filters;
    QLocale locale;
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !filters.isEmpty()) return;
      filters = dialog->nameFilters();
      locale = dialog->locale();
      dialog->selectFile(full(elsewhere / c.chosen.toStdString()));
      auto* buttons = dialog->findChild<QDialogButtonBox*>();
      QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    chooser.start(5);
    press(files().browseButton());
    EXPECT_EQ(filters, c.filters);
    EXPECT_EQ(locale.language(), c.language == Language::kEnglish ? QLocale::English : QLocale::Chinese);
    const QString file = c.chosen.endsWith(".ryb") ? c.chosen : c.chosen + ".ryb";
    const QString added = full(elsewhere / file.toStdString());
    EXPECT_EQ(listed().back(), added);
    EXPECT_EQ(files().nameField()->text(), added);
  }

  // Cancel adds nothing.
  const int count = files().fileList()->count();
  QTimer canceller;
  QObject::connect(&canceller, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  canceller.start(5);
  press(files().browseButton());
  EXPECT_EQ(files().fileList()->count(), count);
}

}  // namespace
}  // namespace zr78::test
