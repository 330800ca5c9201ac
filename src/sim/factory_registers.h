// The amplifier's own factory settings: what its working registers and its
// six modes hold before anyone has tuned it. Kept apart from the host's
// default image on purpose: the virtual amplifier is a peer of the tool, not
// a copy, and a test checks that the two agree.
#pragma once

#include "registers/register_map.h"

namespace zr78::sim {

// Registers 0..1677 as they leave the factory (register 0 and 1248 before
// the hardware words of SimConfig are applied).
const RegisterImage& factoryRegisters();

}  // namespace zr78::sim
