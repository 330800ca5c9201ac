// The saved tunings the preset file page lists, and zr78ctl preset list: the
// preset files of the working folder, then of the preset folder, then of the
// fallback folder. A file name the same in two folders is listed twice, once
// per folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "presets/folders.h"

namespace zr78 {

struct ListedPreset {
  std::string name;               // the file's name, ".ryb" included
  std::filesystem::path folder;   // where it lies (the working folder made absolute)
};

// Regular files whose name ends in ".ryb" in any letter case (the name shown
// is the file's own, so it loads as listed), each folder's in name order. A
// folder that is missing or cannot be read adds nothing.
std::vector<ListedPreset> listPresetFiles(const Folders& folders);

}  // namespace zr78
