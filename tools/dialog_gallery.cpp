// Renders the standard dialogs in the program's look, in each language, into
// PNGs for review: the exit question, an error, a success message, the about
// box and the file dialog. The message boxes go through the program's own
// message box routine, so their icon and button texts are the ones users see.
//
//   dialog_gallery <output folder>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <optional>

#include "app/about_dialog.h"
#include "app/dialog_style.h"
#include "app/qt_text.h"
#include "app/qt_translations.h"
#include "app/ui_message_box.h"
#include "text/shared_texts.h"

namespace zr78 {
namespace {

const char* languageName(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese: return "zh_CN";
    case Language::kTraditionalChinese: return "zh_TW";
    case Language::kEnglish: break;
  }
  return "en";
}

// The window manager draws the caption; offscreen there is none, so the
// picture gets a caption strip of its own above the dialog.
QImage withCaption(QWidget& dialog) {
  const QPixmap body = dialog.grab();
  const int strip = 26;
  QImage image(body.width(), body.height() + strip, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(30, 30, 32));
  QPainter p(&image);
  p.setPen(QColor(222, 226, 232));
  p.drawText(QRect(10, 0, body.width() - 20, strip), Qt::AlignVCenter | Qt::AlignLeft, dialog.windowTitle());
  p.drawPixmap(0, strip, body);
  return image;
}

class Gallery {
 public:
  explicit Gallery(QString dir) : dir_(std::move(dir)) { owner_.setWindowTitle(QStringLiteral("ZR-78")); }

  bool ok() const { return ok_; }

  // A message box of the routine, saved once it is shown, then closed. No
  // caption: the owner's title stands in, as for the worker's messages.
  void message(const QString& name, TextId text, std::optional<TextId> caption, MessageButtons buttons,
               Language language) {
    UiMessageBox routine(&owner_);
    const std::string captionText = caption ? std::string(sharedText(*caption, language)) : std::string();
    routine.show(std::string(sharedText(text, language)), captionText, buttons, [&](QMessageBox* box) {
      QTimer::singleShot(0, box, [this, box, name] {
        save(name, withCaption(*box));
        box->done(QMessageBox::Cancel);
      });
    });
  }

  void dialog(const QString& name, QDialog& dialog) {
    QTimer::singleShot(0, &dialog, [&] {
      save(name, withCaption(dialog));
      dialog.reject();
    });
    dialog.exec();
  }

 private:
  void save(const QString& name, const QImage& image) {
    const QString path = dir_ + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!image.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      ok_ = false;
    }
  }

  QString dir_;
  QWidget owner_;
  bool ok_ = true;
};

}  // namespace
}  // namespace zr78

int main(int argc, char** argv) {
  using namespace zr78;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialog_gallery <output folder>\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  applyDialogLook();
  QtTranslations translations;
  Gallery gallery(dir);
  // An empty folder of its own for the file dialog, so the picture shows the
  // same on every machine.
  const QString files = dir + QStringLiteral("/file-dialog-folder");
  QDir().mkpath(files);
  for (Language language : kLanguages) {
    translations.use(language);
    const QString suffix = QLatin1Char('-') + QLatin1String(languageName(language));
    gallery.message(QStringLiteral("exit-question") + suffix, kTextAskExitProgram, kTextTip,
                    MessageButtons::YesNo, language);
    // A failure with no caption of its own: the main window's title stands in.
    gallery.message(QStringLiteral("error") + suffix, kTextWriteDataFailed, std::nullopt,
                    MessageButtons::Ok, language);
    gallery.message(QStringLiteral("information") + suffix, kTextSaveSuccessfully, kTextTip,
                    MessageButtons::Ok, language);
    AboutDialog about(language, nullptr);
    gallery.dialog(QStringLiteral("about") + suffix, about);
    QFileDialog fileDialog(nullptr, qtText(sharedText(kTextOpen, language)), files,
                           QStringLiteral("*.ryb"));
    fileDialog.resize(640, 400);
    gallery.dialog(QStringLiteral("file-dialog") + suffix, fileDialog);
  }
  return gallery.ok() ? 0 : 1;
}
