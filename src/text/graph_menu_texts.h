// The response graph's context menu and its file dialog. More items of the
// menu add a row here and an entry to the enum.
#pragma once

#include "text/window_texts.h"

namespace zr78 {

enum class GraphMenuText : int {
  kSavePicture,    // the menu item and the dialog's title
  kPictureFilter,  // the dialog's file type
  kImportFilters,  // the menu item and the open dialog's title
  kExportFilters,  // the menu item and the save dialog's title
  kFilterTextFilter,  // both dialogs' file types (";;"-separated)
  kCount,
};

template <>
std::span<const TextEntry> windowTable<GraphMenuText>();

}  // namespace zr78
