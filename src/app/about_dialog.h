// The about text (a click into the window's top-left corner) and the about
// dialog (the window menu's "About" item): program name, version and build
// time in the current language.
#pragma once

#include <QDialog>
#include <QString>

#include "text/language.h"

namespace zr78 {

inline constexpr const char* kProgramModel = "ZR-78";
inline constexpr const char* kProgramVersion = "-V3.08";
// The window menu's about item (string resource 101).
inline constexpr const char* kAboutMenuText = "About QM417(&A)...";

// "Software version ZR-78-V3.08\n\r" + the build's date and time in the
// system's default format.
QString aboutText(Language language);
QString aboutCaption(Language language);

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(Language language, QWidget* parent);
};

}  // namespace zr78
