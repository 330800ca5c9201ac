// The virtual amplifier's faults as a user writes them on the command line
// (`--sim-faults FAULTS` of zr78 and zr78ctl), parsed here once for both:
//
//   loss=P          a report (either direction) is lost with probability P
//   corrupt=P       one byte of a report is changed with probability P
//   duplicate=P     a reply arrives twice with probability P
//   delay-ms=N      every reply waits N ms; N..M: a random N..M ms each
//   seed=N          the fault pattern (the same seed repeats it)
//   silent          the amplifier acts on what it gets and never answers
//   stall           the amplifier stops answering and its writes block
//   ignore-writes=A[..B]  writes of registers A..B are echoed but not stored
//   drop-reads=A[..B]     registers A..B never arrive in read replies
//   no-echo=A[..B]        writes of registers A..B are stored but never echoed
//
// Items are separated by commas, for example
// `loss=0.05,corrupt=0.01,delay-ms=0..300,seed=7`. P lies within 0..1.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/virtual_amplifier.h"

namespace zr78::sim {

// nullopt with a one-line `error` for anything else than the items above.
std::optional<FaultConfig> parseFaultList(std::string_view list, std::string& error);

// The items above, one per line, each indented by `indent`, for --help.
std::string faultListHelp(const std::string& indent = "  ");

}  // namespace zr78::sim
