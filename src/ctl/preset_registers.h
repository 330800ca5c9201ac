// Adapter between zr78ctl's EQ commands and the preset file reader: the 1678
// register values of a preset file. Implemented beside the preset reader.
#pragma once

#include <string>

#include "eq/eq_channel_state.h"

namespace zr78 {

// Reads the preset file at `path` into `registers`. On failure returns false
// with a message in `error` and leaves `registers` unspecified.
bool loadPresetRegisters(const std::string& path, RegisterImage& registers, std::string& error);

}  // namespace zr78
