// Where `--simulate` keeps the virtual amplifier's memory between runs: one
// file in the per-user data folder, shared by zr78 and zr78ctl.
#pragma once

#include <filesystem>
#include <string>

namespace zr78::sim {

// $XDG_DATA_HOME (default ~/.local/share) + "/zr78/virtual-amplifier.state";
// on Windows the local application-data folder.
std::filesystem::path defaultStatePath();

// The channel lock a program on the virtual amplifier takes instead of the
// USB channel's: one per state file, so two programs never run the same
// virtual amplifier (and overwrite each other's memory), while a program on
// the real amplifier is not blocked by one on the virtual.
std::string simulatorLockName(const std::filesystem::path& statePath);

}  // namespace zr78::sim
