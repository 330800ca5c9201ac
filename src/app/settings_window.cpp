#include "app/settings_window.h"

#include <QKeyEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/about_dialog.h"
#include "app/files_page.h"
#include "app/main_window.h"
#include "app/modes_page.h"
#include "app/qt_text.h"
#include "controls/window_messages.h"
#include "registers/register_table.h"
#include "text/language.h"
#include "text/window_texts.h"

namespace zr78 {

SettingsWindow::SettingsWindow(const SettingsParts& parts, QWidget* parent)
    : QDialog(parent), parts_(parts) {
  // The main window's title: the caption of every box without one of its own.
  setWindowTitle(parent != nullptr ? parent->window()->windowTitle() : QString::fromLatin1(kProgramModel));
  tabs_ = new QTabWidget(this);
  modes_ = new ModesPage(parts_, tabs_);
  files_ = new FilesPage(parts_, tabs_);
  tabs_->addTab(modes_, QString());
  tabs_->addTab(files_, QString());
  tabs_->setCurrentIndex(kSystemTab);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  // As large as the largest language needs, so the window keeps its size
  // when the language changes.
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  relabel();

  messages_.on(MSG_LANGUAGE_REFRESH, [this](const WindowMessage&) {
    relabel();
    return qintptr{0};
  });
}

bool SettingsWindow::event(QEvent* e) { return messages_.dispatch(e) || QDialog::event(e); }

void SettingsWindow::relabel() {
  const Language language = parts_.language.get();
  tabs_->setTabText(kSystemTab, qtText(windowText(SystemWindowText::kSystem, language)));
  tabs_->setTabText(kLocalTab, qtText(windowText(SystemWindowText::kLocal, language)));
  modes_->relabel();
  files_->relabel();
}

// Enter neither closes the window nor presses a button; Escape closes it.
void SettingsWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

SettingsWindow* openSettingsWindow(const MainWindow& window) {
  return window.findChild<SettingsWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

void installSettingsWindow(MainWindow& window, const SettingsParts& parts) {
  window.setSystemDialog([&window, parts] {
    if (SettingsWindow* open = openSettingsWindow(window)) {
      open->raise();
      return;
    }
    auto* settings = new SettingsWindow(parts, &window);
    settings->setAttribute(Qt::WA_DeleteOnClose);
    settings->setWindowModality(Qt::ApplicationModal);
    settings->show();
  });
  window.registerRoutes().add(kNoiseGateRegister, [&window, &table = parts.table](int address) {
    if (SettingsWindow* open = openSettingsWindow(window))
      open->modesPage().showNoiseGate(table.getRegister(address));
  });
}

}  // namespace zr78
