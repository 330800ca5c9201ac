// FilesPage: the "Local" page of the system settings window. It lists the
// tunings saved on the PC and offers "save to pc" (the connected device into
// a file), "delete", "load to DSP" (a file into the device) and "browser"
// (any file from a file dialog into the list). The page checks its input,
// asks what must be asked and raises the worker's request; the worker does
// the file work and shows the results. UI thread only.
#pragma once

#include <QWidget>
#include <vector>

#include "app/files_page_rules.h"
#include "app/settings_parts.h"
#include "app/ui_message_box.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zr78 {

enum TextId : int;

class FilesPage : public QWidget {
 public:
  FilesPage(const SettingsParts& parts, QWidget* parent);

  // Captions in the current language.
  void relabel();
  // The list from the folders again; the typed name stays.
  void refill();

  // The name field over the list: choosing an item puts its text into the
  // field, and the operations take the field's text.
  QLineEdit* nameField() const { return name_; }
  QListWidget* fileList() const { return list_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* deleteButton() const { return delete_; }
  QPushButton* loadButton() const { return load_; }
  QPushButton* browseButton() const { return browse_; }
  const std::vector<FileListItem>& items() const { return items_; }

 private:
  void onSaveToPc();
  void onDelete();
  void onLoadToDsp();
  void onBrowser();
  void addItem(const FileListItem& item);
  MessageResult showText(TextId entry, MessageButtons buttons = MessageButtons::Ok);

  SettingsParts parts_;
  UiMessageBox messages_;
  QLabel* nameLabel_ = nullptr;
  QLineEdit* name_ = nullptr;
  QListWidget* list_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* browse_ = nullptr;
  std::vector<FileListItem> items_;  // in list order
};

}  // namespace zr78
