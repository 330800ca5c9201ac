#include "sim/sim_state.h"

#include <cstdlib>

namespace zr78::sim {

std::filesystem::path defaultStatePath() {
  std::filesystem::path base;
#ifdef _WIN32
  if (const char* local = std::getenv("LOCALAPPDATA")) base = local;
#else
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    base = data;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".local" / "share";
  }
#endif
  if (base.empty()) base = std::filesystem::temp_directory_path();
  return base / "zr78" / "virtual-amplifier.state";
}

}  // namespace zr78::sim
