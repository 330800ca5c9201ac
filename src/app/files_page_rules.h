// The preset file page's rules that need no window: the list it shows, the
// files a save would replace, the file a delete removes and the file
// dialog's filters.
//
// Every list item names exactly one file: a name that lies in two of the
// folders (in any letter case) is shown as the full path of each copy, and a
// plain name resolves as a load resolves it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "presets/folders.h"

namespace zr78 {

struct FileListItem {
  std::string text;            // what the list shows and the operations take
  std::filesystem::path file;  // the one file it stands for
};

// listPresetFiles in its order, each file once (a working folder that is
// also the preset or fallback folder adds nothing twice).
std::vector<FileListItem> fileListItems(const Folders& folders);

// Files a save of the completed `name` would replace or leave beside the
// new copy under the same name: the name against the working folder, in the
// preset folder and in the fallback folder, with ".ryb" in any letter case.
std::vector<std::filesystem::path> filesNamed(const Folders& folders, const std::string& name);

// The file a delete of `text` removes: the list item showing exactly this
// text, else the first of the working, preset and fallback folders holding
// the completed name. Nothing for a text that names no preset file (a name
// ending in ".ryb" in any case) or no existing one.
std::optional<std::filesystem::path> fileToDelete(const Folders& folders,
                                                  const std::vector<FileListItem>& items,
                                                  const std::string& text);
// Removes one file; false when it could not be removed.
bool removePresetFile(const std::filesystem::path& file);

// The file dialog's filters from a table text of "description|pattern" pairs
// ending in "||": each description with its pattern in parentheses at its
// end, as the dialog reads it ("默认文件(*.ryb)" stays as it is).
std::vector<std::string> dialogFilters(std::string_view pairs);

}  // namespace zr78
