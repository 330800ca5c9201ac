// The response graph's context menu and its file dialog. More items of the
// menu add a row here and an entry to the enum.
#pragma once

#include "text/window_texts.h"

namespace zr78 {

enum class GraphMenuText : int {
  kSavePicture,    // the menu item and the dialog's title
  kPictureFilter,  // the dialog's file type
  kCount,
};

template <>
std::span<const TextEntry> windowTable<GraphMenuText>();

}  // namespace zr78
