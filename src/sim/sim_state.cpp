#include "sim/sim_state.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

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

std::string simulatorLockName(const std::filesystem::path& statePath) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(statePath, ec);
  const size_t hash = std::hash<std::string>{}((ec ? statePath : absolute).lexically_normal().string());
  char name[64];
  std::snprintf(name, sizeof name, "ZR78_SIM_%016zx", hash);
  return name;
}

}  // namespace zr78::sim
