// The default contents of the register table, loaded by initRegisters. The
// device's values replace them at the first full read.
#pragma once

#include <cstdint>

#include "registers/register_map.h"

namespace zr78 {

// The 1678 default values.
const RegisterImage& defaultRegisterImage();

// The two words of the default device password (registers 1239, 1240). The
// device's own words replace them at the first full read; no editor writes
// them and a file transfer skips them.
constexpr int32_t kDefaultPasswordWord0 = 0x5A52;  // "ZR"
constexpr int32_t kDefaultPasswordWord1 = 0x3738;  // "78"

}  // namespace zr78
