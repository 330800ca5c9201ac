// The program against the virtual amplifier with its system settings window
// open, opened as a user opens it: a click on "system".
#pragma once

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "app/files_page.h"
#include "app/modes_page.h"
#include "app/settings_window.h"
#include "app_fixture.h"
#include "presets/preset_file.h"
#include "registers/register_map.h"

namespace zr78::test {

class SettingsFixture : public AppFixture {
 protected:
  // Clicks "system"; the window that opens, or nullptr.
  SettingsWindow* openSettings() {
    click(window().topButton(kButtonSystem));
    waitUntil([&] { return openSettingsWindow(window()) != nullptr; }, 2000);
    SettingsWindow* settings = openSettingsWindow(window());
    if (settings) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(settings));
    }
    return settings;
  }
  SettingsWindow& settings() { return *openSettingsWindow(window()); }
  ModesPage& modes() { return settings().modesPage(); }
  FilesPage& files() { return settings().filesPage(); }
  void showTab(int tab) {
    QTabBar* bar = settings().tabs()->tabBar();
    click(bar, bar->tabRect(tab).center());
  }

  // Picks an item of a drop-down list with the keyboard.
  void choose(QComboBox* box, int item) {
    box->setFocus();
    while (box->currentIndex() < item) QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > item) QTest::keyClick(box, Qt::Key_Up);
    settle();
  }
  // Clicks a row of a list.
  void chooseRow(QListWidget* list, int row) {
    ASSERT_GE(row, 0);
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    click(list->viewport(), list->visualItemRect(item).center());
  }
  // The texts of a list's rows.
  static QStringList rows(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }
  // Replaces a field's text by typing.
  void type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    // Keys for ASCII; other text arrives as an input method commits it.
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
      QTest::keyClicks(field, text);
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QApplication::sendEvent(field, &commit);
    }
    settle();
  }
  void press(QPushButton* button) { click(button); }

  // The folders of the fixture's program.
  const Folders& folders() const { return *options_.folders; }
  std::filesystem::path presetFolder() const { return root_ / "program" / "FileData"; }
  std::filesystem::path fallbackFolder() const { return root_ / "fallback"; }

  // A preset file of the connected device's registers, with `changes`.
  void writePreset(const std::filesystem::path& path, std::vector<std::pair<int, int32_t>> changes = {},
                   uint32_t deviceId = 0) {
    std::array<int32_t, kRegisterCount> values = amp().registers();
    for (auto [address, value] : changes) values[address] = value;
    PresetFile file(folders());
    file.header.deviceId = deviceId != 0 ? deviceId : static_cast<uint32_t>(amp().config().deviceId);
    ASSERT_EQ(file.writeImage(utf8FromPath(path), values), FileResult::Ok);
  }
  // Waits for the worker to finish `count` more requests than `before`.
  bool waitRequests(uint32_t before, uint32_t count = 1, int timeoutMs = 15000) {
    return waitUntil([&] { return session().worker.requestsCompleted() >= before + count; }, timeoutMs);
  }
  bool sawBox(const BoxAnswerer& boxes, const QString& text) {
    for (const SeenBox& b : boxes.seen())
      if (b.text == text) return true;
    return false;
  }
};

}  // namespace zr78::test
