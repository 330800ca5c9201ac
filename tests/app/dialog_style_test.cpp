// The dialog look: once the program has started, every standard dialog wears
// the dark palette and our message box signs without doing anything itself,
// the file dialog is Qt's own, and message boxes keep Qt's translated buttons.
#include <QDialog>
#include <QFileDialog>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "app/about_dialog.h"
#include "app/dialog_style.h"
#include "app/qt_text.h"
#include "app_fixture.h"
#include "controls/png_resource.h"
#include "text/shared_texts.h"

namespace zr78::test {
namespace {

class DialogStyleTest : public AppFixture {};

bool isDark(QColor c) { return c.lightness() < 100; }

// The colour most of the widget's picture has (its background).
QColor backgroundOf(QWidget& widget) {
  const QImage image = widget.grab().toImage();
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) ++counts[image.pixel(x, y)];
  return QColor(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                  return a.second < b.second;
                })->first);
}

// Dialogs the panels open (the file dialog of the files page, a dialog of
// plain widgets) set nothing and still come out dark with light text.
TEST_F(DialogStyleTest, DialogsThatSetNothingAreDark) {
  ASSERT_TRUE(start());
  QFileDialog files(&window(), QStringLiteral("Open"), QString::fromStdString(root_.string()));
  files.resize(600, 400);
  files.show();
  // Qt's own dialog, not the desktop's (which would ignore the palette): its
  // widgets exist and wear the palette.
  EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
  EXPECT_NE(files.findChild<QListView*>(), nullptr);
  EXPECT_TRUE(isDark(backgroundOf(files))) << backgroundOf(files).name().toStdString();

  QDialog plain(&window());
  auto* layout = new QVBoxLayout(&plain);
  auto* button = new QPushButton(QStringLiteral("OK"), &plain);
  layout->addWidget(button);
  plain.resize(200, 120);
  plain.show();
  EXPECT_TRUE(isDark(backgroundOf(plain)));
  EXPECT_FALSE(isDark(button->palette().color(QPalette::ButtonText)));
  EXPECT_FALSE(isDark(plain.palette().color(QPalette::WindowText)));
}

// The style hands out the generator's signs (not Fusion's), and each message
// of the program shows the sign of its kind.
TEST_F(DialogStyleTest, MessageBoxesShowOurSignForTheirKind) {
  ASSERT_TRUE(start());
  const struct {
    QStyle::StandardPixmap sign;
    int resource;
  } signs[] = {{QStyle::SP_MessageBoxQuestion, png::ICON_QUESTION},
               {QStyle::SP_MessageBoxWarning, png::ICON_WARNING},
               {QStyle::SP_MessageBoxInformation, png::ICON_INFORMATION},
               {QStyle::SP_MessageBoxCritical, png::ICON_CRITICAL}};
  for (const auto& s : signs) {
    const QImage art = loadPngResource(s.resource).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(art.isNull()) << s.resource;
    const QImage shown = QApplication::style()
                             ->standardIcon(s.sign)
                             .pixmap(QSize(40, 40), 2.0)
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(shown, art) << s.resource;
  }

  const struct {
    TextId text;
    Language language;
    MessageButtons buttons;
    QMessageBox::Icon icon;
  } kinds[] = {
      {kTextAskExitProgram, Language::kEnglish, MessageButtons::YesNo, QMessageBox::Question},
      {kTextAskDeleteFiles, Language::kTraditionalChinese, MessageButtons::OkCancel, QMessageBox::Question},
      {kTextWriteDataFailed, Language::kSimplifiedChinese, MessageButtons::Ok, QMessageBox::Warning},
      {kTextNoDevice, Language::kEnglish, MessageButtons::Ok, QMessageBox::Warning},
      {kTextSaveSuccessfully, Language::kTraditionalChinese, MessageButtons::Ok, QMessageBox::Information},
      {kTextProgramRunning, Language::kEnglish, MessageButtons::Ok, QMessageBox::Information},
  };
  for (const auto& k : kinds)
    EXPECT_EQ(messageIcon(std::string(sharedText(k.text, k.language)), k.buttons), k.icon) << k.text;
  for (Language language : kLanguages)
    EXPECT_EQ(messageIcon(utf8Text(aboutText(language)), MessageButtons::Ok), QMessageBox::Information);
}

// The exit question in Traditional Chinese: the question sign, dark, and Qt's
// zh_TW Yes/No.
TEST_F(DialogStyleTest, ExitQuestionKeepsTranslatedButtonsInTheNewLook) {
  writeLanguageIni(languageIndex(Language::kTraditionalChinese));
  ASSERT_TRUE(startConnected());
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QColor background;
  BoxAnswerer boxes;
  boxes.setDecide([&](const SeenBox&) -> std::optional<QMessageBox::StandardButton> {
    QMessageBox* box = boxes.open();
    icon = box->icon();
    background = backgroundOf(*box);
    return QMessageBox::No;
  });
  window().close();
  ASSERT_TRUE(waitUntil([&] { return !boxes.seen().empty(); }));
  EXPECT_EQ(boxes.seen()[0].text, qtText(sharedText(kTextAskExitProgram, Language::kTraditionalChinese)));
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_TRUE(isDark(background)) << background.name().toStdString();
  const QString buttons = boxes.seen()[0].buttons.join(" ");
  EXPECT_TRUE(buttons.contains(QString::fromUtf8("是"))) << buttons.toStdString();
  EXPECT_TRUE(buttons.contains(QString::fromUtf8("否"))) << buttons.toStdString();
  EXPECT_TRUE(window().isVisible());  // No keeps the program running
}

}  // namespace
}  // namespace zr78::test
