// Where `--simulate` keeps the virtual amplifier's memory between runs: one
// file in the per-user data folder, shared by zr78 and zr78ctl.
#pragma once

#include <filesystem>

namespace zr78::sim {

// $XDG_DATA_HOME (default ~/.local/share) + "/zr78/virtual-amplifier.state";
// on Windows the local application-data folder.
std::filesystem::path defaultStatePath();

}  // namespace zr78::sim
