// The title of a file dialog opened from the response graph's menu: the
// menu item's text without its ellipsis.
#pragma once

#include <QString>

#include "app/qt_text.h"
#include "text/graph_menu_texts.h"
#include "text/language.h"

namespace zr78 {

inline QString graphMenuDialogTitle(GraphMenuText item, Language language) {
  QString title = qtText(windowText(item, language));
  title.remove(QChar(0x2026));
  return title;
}

}  // namespace zr78
