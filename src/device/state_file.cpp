#include "device/state_file.h"

#include <cstdio>
#include <functional>

namespace zr78 {

std::filesystem::path defaultStatePath(const Folders& folders) {
  return folders.fallback / "virtual-amplifier.state";
}

std::string simulatorLockName(const std::filesystem::path& statePath) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(statePath, ec);
  const size_t hash = std::hash<std::string>{}((ec ? statePath : absolute).lexically_normal().string());
  char name[64];
  std::snprintf(name, sizeof name, "ZR78_SIM_%016zx", hash);
  return name;
}

}  // namespace zr78
