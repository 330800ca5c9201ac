// The exit codes of every zr78ctl command, one table. The file results keep
// their numbers where they can (4, 5, 6); the empty name, whose file result 2
// is the usage code here, becomes 7.
#pragma once

#include <string>

#include "presets/file_result.h"

namespace zr78 {

enum class ExitCode : int {
  Ok = 0,
  Failed = 1,         // the operation failed: refused, not confirmed, or not kept
  Usage = 2,          // bad arguments
  NoAmplifier = 3,    // no amplifier answered
  CannotOpen = 4,     // a file cannot be opened or is not there (file result 4)
  CannotCreate = 5,   // a file cannot be created (file result 5)
  Damaged = 6,        // a preset file fails its checksum or is damaged (file result 6)
  EmptyName = 7,      // the file name is empty (file result 2)
  Timeout = 8,        // the amplifier answered but the operation did not end in time
  MalformedJson = 9,  // JSON that does not describe a preset file
  RefusedFilterText = 10,  // a filter text with a line that cannot be imported
};

ExitCode exitCodeFor(FileResult result);

// "Exit codes:" and one line per code, for --help and the README.
std::string exitCodeHelp();

}  // namespace zr78
