// zr78ctl: the tuning tool's core from the command line — preset files,
// transfers with the amplifier (real or virtual) and computed responses.
#include <string>

#include "ctl/ctl_commands.h"

namespace {

// Where a bare preset name goes: the window's folders, shown as they are.
std::string folderHelp(const zr78::Folders& folders) {
  using zr78::utf8FromPath;
  const std::string preset = utf8FromPath(folders.preset()), fallback = utf8FromPath(folders.fallback);
  return "\nPreset files given by name (the window's folders):\n"
         "  saved in        " + preset + " (else " + fallback + ")\n"
         "  looked for in   the working folder, " + preset + ", " + fallback + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zr78;
  CLI::App app{"zr78ctl - ZR-78 amplifier tuning from the command line"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("zr78ctl ") + ZR78_VERSION);
  CtlContext context{Folders::forRunningProgram()};
  app.footer(exitCodeHelp() + folderHelp(context.folders));
  addPresetCommand(app, context);
  addDeviceCommand(app, context);
  addResponseCommand(app, context);
  addEqTextCommands(app, context);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help is a ParseError of exit code 0; every other one is a usage error.
    return app.exit(e) == 0 ? 0 : static_cast<int>(ExitCode::Usage);
  }
  return static_cast<int>(context.exitCode);
}
