// The look of the standard dialogs (message boxes, the file dialog, the about
// box, menus and any QDialog a panel opens): the Fusion style with a dark
// palette taken from the skin, our own message box icons, and Qt's own file
// dialog instead of the desktop's, so it wears the same palette. Applied once,
// application-wide; the standard buttons keep Qt's translations.
#pragma once

#include <QIcon>
#include <QMessageBox>
#include <QPalette>
#include <string>

#include "text/message_box.h"

namespace zr78 {

// Installs the style, palette and font on the running QApplication and turns
// off the desktop's native dialogs. Calling it again changes nothing.
void applyDialogLook();

// The dark palette of the dialogs: the skin's panel greys, its text colour
// and its cyan accent for selections and links.
QPalette dialogPalette();

// The program icon drawn by the artwork generator (every size from one PNG
// drawn at twice its size).
QIcon programIcon();

// The icon a message box shows: a question for Yes/No and OK/Cancel, the
// information sign for the texts that report a success or a running copy and
// for the about text,
// the warning sign for every other OK box (failures and prompts).
QMessageBox::Icon messageIcon(const std::string& text, MessageButtons buttons);

}  // namespace zr78
