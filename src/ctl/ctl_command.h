// zr78ctl's subcommands register themselves: each area's *_ctl.cpp adds one
// subcommand (preset, device, response) to the root app. The callback a
// subcommand installs stores the process's exit code.
#pragma once

#include <CLI/CLI.hpp>

namespace zr78 {

using CtlSetup = void (*)(CLI::App& root, int& exitCode);

bool registerCtlCommand(CtlSetup setup);

}  // namespace zr78

#define ZR78_CTL_COMMAND(setupFunction) \
  static const bool setupFunction##Registered = ::zr78::registerCtlCommand(setupFunction)
