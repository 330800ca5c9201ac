#include "app/files_page.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "link/link_state.h"
#include "presets/preset_file.h"
#include "sync/sync_worker.h"
#include "text/language.h"
#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultSuffix = "ryb";

// The locale a file dialog is shown in for each UI language.
QLocale dialogLocale(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese:
      return QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
    case Language::kTraditionalChinese:
      return QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan);
    case Language::kEnglish:
      break;
  }
  return QLocale(QLocale::English, QLocale::UnitedStates);
}

}  // namespace

FilesPage::FilesPage(const SettingsParts& parts, QWidget* parent)
    : QWidget(parent), parts_(parts), messages_(this) {
  nameLabel_ = new QLabel(this);
  name_ = new QLineEdit(this);
  list_ = new QListWidget(this);
  // Long paths keep their start and their file name.
  list_->setTextElideMode(Qt::ElideMiddle);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setResizeMode(QListView::Adjust);
  save_ = new QPushButton(this);
  delete_ = new QPushButton(this);
  load_ = new QPushButton(this);
  browse_ = new QPushButton(this);

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(nameLabel_);
  nameRow->addWidget(name_, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {save_, delete_, load_, browse_}) {
    b->setAutoDefault(false);  // Enter presses nothing
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  auto* page = new QVBoxLayout(this);
  page->addLayout(nameRow);
  page->addWidget(list_, 1);
  page->addLayout(buttons);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) name_->setText(list_->item(row)->text());
  });
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { name_->setText(item->text()); });
  connect(save_, &QPushButton::clicked, this, &FilesPage::onSaveToPc);
  connect(delete_, &QPushButton::clicked, this, &FilesPage::onDelete);
  connect(load_, &QPushButton::clicked, this, &FilesPage::onLoadToDsp);
  connect(browse_, &QPushButton::clicked, this, &FilesPage::onBrowser);

  refill();
  if (list_->count() > 0) list_->setCurrentRow(0);
  relabel();
}

void FilesPage::relabel() {
  const Language language = parts_.language.get();
  nameLabel_->setText(qtText(sharedText(kTextFileNameLabel, language)));
  save_->setText(qtText(sharedText(kTextSaveToPc, language)));
  delete_->setText(qtText(sharedText(kTextDelete, language)));
  load_->setText(qtText(sharedText(kTextLoadToDsp, language)));
  browse_->setText(qtText(sharedText(kTextBrowser, language)));
}

void FilesPage::refill() {
  const QSignalBlocker quiet(list_);
  items_.clear();
  list_->clear();
  for (const FileListItem& item : fileListItems(parts_.folders)) addItem(item);
}

void FilesPage::addItem(const FileListItem& item) {
  items_.push_back(item);
  auto* row = new QListWidgetItem(qtText(item.text), list_);
  row->setToolTip(qtText(utf8FromPath(item.file)));
}

MessageResult FilesPage::showText(TextId entry, MessageButtons buttons) {
  return messages_.showMessage(std::string(sharedText(entry, parts_.language.get())), {}, buttons);
}

// Asks before a save replaces a tuning, wherever one of that name lies: the
// save goes to the preset folder, and a copy elsewhere would be found first
// by a later load.
void FilesPage::onSaveToPc() {
  if (!parts_.state.connected.load()) {
    showText(kTextNoDevice);
    return;
  }
  const std::string typed = utf8Text(name_->text());
  if (typed.empty()) {
    showText(kTextNoFiles);
    return;
  }
  const std::string name = PresetFile::completeName(typed);
  parts_.worker.setTransferFilePath(name);
  refill();
  if (!filesNamed(parts_.folders, name).empty()) {
    const Language language = parts_.language.get();
    const MessageResult answer = messages_.showMessage(
        name + std::string(sharedText(kTextFileExistsOverwrite, language)),
        std::string(sharedText(kTextWarning, language)), MessageButtons::OkCancel);
    if (answer == MessageResult::Ok) parts_.worker.raiseRequest(kSlotSaveToFile);
    return;
  }
  addItem({name, Folders::in(parts_.folders.preset(), name)});
  parts_.worker.raiseRequest(kSlotSaveToFile);
}

// Removes exactly the file the text stands for (see fileToDelete); the field
// is emptied, so that a second press removes nothing more.
void FilesPage::onDelete() {
  const std::string typed = utf8Text(name_->text());
  const std::optional<fs::path> file =
      typed.empty() ? std::nullopt : fileToDelete(parts_.folders, items_, typed);
  if (!file || !removePresetFile(*file)) {
    showText(kTextDeleteFailedNoFiles);
    refill();
    return;
  }
  refill();
  name_->clear();
}

void FilesPage::onLoadToDsp() {
  const std::string typed = utf8Text(name_->text());
  if (typed.empty()) {
    showText(kTextNoFiles);
    return;
  }
  parts_.worker.setTransferFilePath(typed);
  parts_.worker.raiseRequest(kSlotWriteFile);
}

void FilesPage::onBrowser() {
  const Language language = parts_.language.get();
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString::fromLatin1(kDefaultSuffix));
  QStringList filters;
  for (const std::string& filter : dialogFilters(windowText(PresetPageText::kFileFilter, language)))
    filters << qtText(filter);
  dialog.setNameFilters(filters);
  dialog.setLocale(dialogLocale(language));
  const fs::path start =
      folderExists(parts_.folders.preset()) ? parts_.folders.preset() : parts_.folders.fallback;
  if (folderExists(start)) dialog.setDirectory(qtText(utf8FromPath(start)));
  if (dialog.exec() != QDialog::Accepted) return;
  const QStringList chosen = dialog.selectedFiles();
  const std::string path = chosen.isEmpty() ? std::string() : utf8Text(chosen.front());
  if (path.empty()) {
    showText(kTextNoFiles);
    return;
  }
  const std::string file = PresetFile::completeName(path);
  addItem({file, pathFromUtf8(file)});
  list_->setCurrentRow(list_->count() - 1);
}

}  // namespace zr78
