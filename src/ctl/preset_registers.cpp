#include "ctl/preset_registers.h"

#include <algorithm>

#include "registers/register_table.h"
#include "presets/file_result.h"
#include "presets/preset_file.h"

namespace zr78 {

bool loadPresetRegisters(const std::string& path, RegisterImage& registers, std::string& error) {
  PresetFile file(Folders::forRunningProgram());
  const FileResult result = file.load(path);
  if (result != FileResult::Ok) {
    error = std::string(fileResultMeaning(result));
    return false;
  }
  // A short image leaves the registers it does not carry at their defaults.
  registers = defaultRegisterImage();
  const size_t count = std::min<size_t>(file.header.registerCount, registers.size());
  std::copy_n(file.values.begin(), count, registers.begin());
  return true;
}

}  // namespace zr78
