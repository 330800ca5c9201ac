// zr78ctl's commands. main builds the root app and adds each command; a
// command's callback stores the process's exit code in the context.
#pragma once

#include <CLI/CLI.hpp>

#include "ctl/exit_codes.h"
#include "presets/folders.h"

namespace zr78 {

struct CtlContext {
  Folders folders;  // the same as the window's: names resolve as they do there
  ExitCode exitCode = ExitCode::Ok;
};

// preset show | export | import | list
void addPresetCommand(CLI::App& root, CtlContext& context);
// device [--simulate[=STATE]] info | save | load | get | set | recall | name
void addDeviceCommand(CLI::App& root, CtlContext& context);
// response FILE --channel N
void addResponseCommand(CLI::App& root, CtlContext& context);

}  // namespace zr78
