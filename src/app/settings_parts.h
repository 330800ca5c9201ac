// What the system settings window and its pages work with; the application
// owns all of it.
#pragma once

#include "presets/folders.h"

namespace zr78 {

class LanguageIndex;
class RegisterTable;
class SyncWorker;
struct LinkState;

struct SettingsParts {
  RegisterTable& table;
  LinkState& state;
  SyncWorker& worker;
  LanguageIndex& language;
  Folders folders;  // the settings file and the preset files
};

}  // namespace zr78
