// The amplifier's memory as a small text file, so that `--simulate` keeps
// the virtual amplifier's registers, modes and names across runs.
//
//   zr78-virtual-amplifier-state 1        header and format version
//   working                               the working registers:
//   0: 8864 0 0 ...                       rows of 16 values, each row led by
//   16: ...                               its first address (105 rows, the
//   ...                                   last holds 14 values)
//   mode 1 "Mode 1"                       then modes 1..6 in order: number,
//   0: ...                                quoted name (\" \\ and \xHH escapes
//   ...                                   for other bytes), 105 rows
//   end                                   the file is complete
//
// Values are decimal 0..65535. Lines may end in CRLF. Anything else (a
// missing row, a stray token, a value out of range, no "end") makes the
// whole file invalid.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/amplifier_memory.h"

namespace zr78::sim {

std::string formatState(const AmplifierMemory& memory);
std::optional<AmplifierMemory> parseState(std::string_view text);

// Writes through a temporary file and a rename, so that an interrupted save
// leaves the previous file intact. False when the file cannot be written.
bool writeStateFile(const std::string& path, const AmplifierMemory& memory);
// nullopt when the file is missing, unreadable or invalid.
std::optional<AmplifierMemory> readStateFile(const std::string& path);

}  // namespace zr78::sim
