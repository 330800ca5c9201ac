// zr78ctl's commands. main builds the root app and adds each command; a
// command's callback stores the process's exit code in the context.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "ctl/exit_codes.h"
#include "presets/folders.h"

namespace zr78 {

class ConsoleEvents;
struct LinkSession;
// A body run on the amplifier's link, connected and fully read.
using DeviceLinkBody = std::function<ExitCode(LinkSession&, ConsoleEvents&)>;

struct CtlContext {
  Folders folders;  // the same as the window's: names resolve as they do there
  ExitCode exitCode = ExitCode::Ok;
  // Set by addDeviceCommand: runs a body on the link `device [--simulate]`
  // chose, for device subcommands defined in other files.
  std::function<ExitCode(const DeviceLinkBody&)> runOnDevice{};
};

// preset show | export | import | list
void addPresetCommand(CLI::App& root, CtlContext& context);
// device [--simulate[=STATE]] info | save | load | get | set | recall | name
void addDeviceCommand(CLI::App& root, CtlContext& context);
// response FILE --channel N
void addResponseCommand(CLI::App& root, CtlContext& context);
// preset apply-eq | export-eq, device apply-eq: filter texts onto a channel
// and out of it (after addPresetCommand and addDeviceCommand).
void addEqTextCommands(CLI::App& root, CtlContext& context);

// Writes registers and returns once the amplifier has echoed every value and
// a fresh read confirms it (device_command.cpp, as `device set` does).
ExitCode writeRegistersConfirmed(LinkSession& session, ConsoleEvents& events,
                                 const std::vector<std::pair<int, int32_t>>& writes);

}  // namespace zr78
