#include "app/about_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "app/dialog_style.h"
#include "app/qt_text.h"
#include "text/window_texts.h"

namespace zr78 {

namespace {

// The compile-time date and time ("Dec 10 2026" "11:02:03"), joined by one blank.
QDateTime buildDateTime() {
  const QString stamp = QStringLiteral(__DATE__ " " __TIME__).simplified();
  return QLocale::c().toDateTime(stamp, QStringLiteral("MMM d yyyy HH:mm:ss"));
}

QString versionLine(Language language) {
  return qtText(windowText(MainWindowText::kSoftwareVersion, language)) +
         QString::fromLatin1(kProgramModel) + QString::fromLatin1(kProgramVersion);
}

}  // namespace

QString aboutText(Language language) {
  return versionLine(language) + QStringLiteral("\n\r") +
         QLocale::system().toString(buildDateTime(), QLocale::ShortFormat);
}

QString aboutCaption(Language language) {
  return qtText(windowText(MainWindowText::kAboutCaption, language));
}

AboutDialog::AboutDialog(Language language, QWidget* parent) : QDialog(parent) {
  setWindowTitle(aboutCaption(language));
  auto* icon = new QLabel(this);
  icon->setPixmap(programIcon().pixmap(QSize(64, 64), devicePixelRatioF()));
  auto* name = new QLabel(QString::fromLatin1(kProgramModel), this);
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  auto* version = new QLabel(versionLine(language), this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(version);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

}  // namespace zr78
