// SettingsWindow: the system settings window the "system" button opens. Two
// tabs: "System" (the ModesPage: device memories, language, noise gate) and
// "Local" (the FilesPage: tunings on the PC). There is nothing to confirm:
// every change takes effect at once, and Enter does nothing. Created when
// opened, modal, destroyed when closed. UI thread only.
#pragma once

#include <QDialog>

#include "app/settings_parts.h"
#include "controls/window_message.h"

class QTabWidget;

namespace zr78 {

class FilesPage;
class MainWindow;
class ModesPage;

class SettingsWindow : public QDialog {
 public:
  static constexpr int kSystemTab = 0;
  static constexpr int kLocalTab = 1;

  SettingsWindow(const SettingsParts& parts, QWidget* parent);

  QTabWidget* tabs() const { return tabs_; }
  ModesPage& modesPage() const { return *modes_; }
  FilesPage& filesPage() const { return *files_; }

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void relabel();

  SettingsParts parts_;
  MessageTable messages_;
  QTabWidget* tabs_ = nullptr;
  ModesPage* modes_ = nullptr;
  FilesPage* files_ = nullptr;
};

// The "system" button opens the window (one at a time) over `window`; the
// noise gate the device reports reaches the open window's field.
void installSettingsWindow(MainWindow& window, const SettingsParts& parts);
// The open settings window of `window`, or nullptr.
SettingsWindow* openSettingsWindow(const MainWindow& window);

}  // namespace zr78
