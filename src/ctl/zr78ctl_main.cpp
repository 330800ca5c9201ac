// zr78ctl: the tuning tool's core from the command line — preset files,
// transfers with the amplifier (real or virtual) and computed responses.
#include <vector>

#include "ctl/ctl_command.h"

namespace zr78 {

static std::vector<CtlSetup>& ctlCommands() {
  static std::vector<CtlSetup> commands;
  return commands;
}

bool registerCtlCommand(CtlSetup setup) {
  ctlCommands().push_back(setup);
  return true;
}

}  // namespace zr78

int main(int argc, char** argv) {
  CLI::App app{"zr78ctl - ZR-78 amplifier tuning from the command line"};
  app.require_subcommand(1);
  int exitCode = 0;
  for (auto setup : zr78::ctlCommands()) setup(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  return exitCode;
}
