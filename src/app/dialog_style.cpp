#include "app/dialog_style.h"

#include <QApplication>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>

#include "controls/font_map.h"
#include "controls/png_resource.h"
#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace zr78 {

namespace {

// The skin's colours (the artwork generator's palette): panel greys, the
// wells behind graphs and lists, the light text and the cyan accent.
const QColor kWindow(64, 63, 64);
const QColor kButton(84, 83, 84);
const QColor kBase(36, 36, 38);
const QColor kAlternateBase(44, 44, 46);
const QColor kText(222, 226, 232);
const QColor kDimText(124, 124, 128);
const QColor kAccent(0, 168, 232);
const QColor kLink(70, 200, 255);

// The family the layout's dialogs are set in; it covers Chinese and Latin.
constexpr const char kDialogFamily[] = "微软雅黑";
constexpr int kMessageIconSize = 40;

QIcon iconOf(int resource) {
  const QImage image = loadPngResource(resource);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

// Fusion draws every standard widget from the palette, so the dark palette
// reaches all of them; only the message box signs are ours.
class DialogStyle final : public QProxyStyle {
 public:
  DialogStyle()
      : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))),
        question_(iconOf(png::ICON_QUESTION)),
        information_(iconOf(png::ICON_INFORMATION)),
        warning_(iconOf(png::ICON_WARNING)),
        critical_(iconOf(png::ICON_CRITICAL)) {}

  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                     const QWidget* widget) const override {
    const QIcon* own = nullptr;
    switch (icon) {
      case SP_MessageBoxQuestion: own = &question_; break;
      case SP_MessageBoxInformation: own = &information_; break;
      case SP_MessageBoxWarning: own = &warning_; break;
      case SP_MessageBoxCritical: own = &critical_; break;
      default: break;
    }
    if (own != nullptr && !own->isNull()) return *own;
    return QProxyStyle::standardIcon(icon, option, widget);
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_MessageBoxIconSize) return kMessageIconSize;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

  QPalette standardPalette() const override { return dialogPalette(); }

 private:
  QIcon question_, information_, warning_, critical_;
};

bool isOneOf(const std::string& text, std::initializer_list<TextId> entries) {
  for (TextId entry : entries)
    for (Language language : kLanguages)
      if (text == sharedText(entry, language)) return true;
  return false;
}

// The about text (the click into the window's corner) starts with the
// version prefix of its language.
bool isAboutText(const std::string& text) {
  for (Language language : kLanguages)
    if (text.starts_with(windowText(MainWindowText::kSoftwareVersion, language))) return true;
  return false;
}

}  // namespace

QPalette dialogPalette() {
  QPalette p;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Window, kWindow);
    p.setColor(group, QPalette::Button, kButton);
    p.setColor(group, QPalette::Base, kBase);
    p.setColor(group, QPalette::AlternateBase, kAlternateBase);
    p.setColor(group, QPalette::Light, kButton.lighter(130));
    p.setColor(group, QPalette::Midlight, kButton.lighter(112));
    p.setColor(group, QPalette::Mid, kWindow.darker(140));
    p.setColor(group, QPalette::Dark, QColor(30, 30, 32));
    p.setColor(group, QPalette::Shadow, QColor(10, 10, 12));
    p.setColor(group, QPalette::WindowText, kText);
    p.setColor(group, QPalette::Text, kText);
    p.setColor(group, QPalette::ButtonText, kText);
    p.setColor(group, QPalette::BrightText, Qt::white);
    p.setColor(group, QPalette::PlaceholderText, kDimText);
    p.setColor(group, QPalette::Highlight, kAccent);
    p.setColor(group, QPalette::HighlightedText, Qt::white);
    p.setColor(group, QPalette::Link, kLink);
    p.setColor(group, QPalette::LinkVisited, kLink.darker(130));
    p.setColor(group, QPalette::ToolTipBase, kBase);
    p.setColor(group, QPalette::ToolTipText, kText);
  }
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, kDimText);
  p.setColor(QPalette::Disabled, QPalette::Base, kWindow);
  p.setColor(QPalette::Disabled, QPalette::Highlight, kButton);
  p.setColor(QPalette::Inactive, QPalette::Highlight, kAccent.darker(150));
  return p;
}

QIcon programIcon() { return iconOf(png::PROGRAM_ICON); }

void applyDialogLook() {
  if (dynamic_cast<DialogStyle*>(QApplication::style()) != nullptr) return;
  // The desktop's own file dialog would ignore the palette (and may live in
  // another process); Qt's wears it and speaks the Qt translations.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QApplication::setStyle(new DialogStyle);
  QApplication::setPalette(dialogPalette());
  QFont font = QApplication::font();
  font.setFamily(mappedFontFamily(QString::fromUtf8(kDialogFamily)));
  QApplication::setFont(font);
  QApplication::setWindowIcon(programIcon());
}

QMessageBox::Icon messageIcon(const std::string& text, MessageButtons buttons) {
  if (buttons != MessageButtons::Ok) return QMessageBox::Question;
  if (isOneOf(text, {kTextSaveSuccessfully, kTextUpgradeSuccess, kTextProgramRunning}) || isAboutText(text))
    return QMessageBox::Information;
  return QMessageBox::Warning;
}

}  // namespace zr78
