// Where `--simulate` keeps the virtual amplifier's memory between runs, and
// the channel lock that goes with it; shared by zr78 and zr78ctl.
#pragma once

#include <filesystem>
#include <string>

#include "presets/folders.h"

namespace zr78 {

// "virtual-amplifier.state" in the per-user folder, beside the preset folder
// on Linux and macOS ($XDG_DATA_HOME/zr78, default ~/.local/share/zr78).
std::filesystem::path defaultStatePath(const Folders& folders);

// The channel lock a program on the virtual amplifier takes instead of the
// USB channel's: one per state file, so two programs never run the same
// virtual amplifier (and overwrite each other's memory), while a program on
// the real amplifier is not blocked by one on the virtual.
std::string simulatorLockName(const std::filesystem::path& statePath);

}  // namespace zr78
