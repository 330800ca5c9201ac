// The amplifier's answer to each command frame (the behaviour is documented
// command by command in virtual_amplifier.h).
#pragma once

#include <vector>

#include "sim/amplifier_memory.h"
#include "sim/device_packets.h"
#include "sim/virtual_amplifier.h"

namespace zr78::sim {

// Applies the frame to the memory and returns the reply frames in the order
// the device sends them (none for an ignored command).
// `faults` supplies the registers whose writes are ignored or whose reads are
// dropped.
std::vector<DeviceFrame> answerFrame(AmplifierMemory& memory, const SimConfig& config, const FaultConfig& faults,
                                     const DeviceFrame& frame);

}  // namespace zr78::sim
