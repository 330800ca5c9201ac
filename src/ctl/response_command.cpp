// zr78ctl response FILE --channel N [--width W --height H]: the computed
// response of one channel of a preset file as CSV.
#include <iostream>
#include <memory>

#include "ctl/ctl_command.h"
#include "eq/channel_report.h"
#include "eq/plot_geometry.h"
#include "ctl/preset_registers.h"

namespace zr78 {

namespace {

struct ResponseOptions {
  std::string file;
  int channel = 0;
  int width = 0;
  int height = 0;
};

int runResponse(const ResponseOptions& options) {
  RegisterImage registers{};
  std::string error;
  if (!loadPresetRegisters(options.file, registers, error)) {
    std::cerr << "zr78ctl response: " << options.file << ": " << error << "\n";
    return 1;
  }
  const std::string csv = responseCsv(registers, options.channel, options.width, options.height);
  if (csv.empty()) {
    std::cerr << "zr78ctl response: channel must be 0..7 and the plot at least 1 x 1\n";
    return 2;
  }
  std::cout << csv;
  return 0;
}

void setupResponse(CLI::App& root, int& exitCode) {
  auto options = std::make_shared<ResponseOptions>();
  const PlotGeometry panel = eqPanelPlotGeometry(1.0);
  options->width = panel.W;
  options->height = panel.H;
  CLI::App* command =
      root.add_subcommand("response",
                          "Print the computed response of one channel of a preset file as CSV "
                          "(column,frequency_hz,total_db)");
  command->add_option("file", options->file, "Preset file (.ryb)")->required();
  command->add_option("--channel", options->channel, "Output channel 0..7 (CH1 = 0)")
      ->required()
      ->check(CLI::Range(0, 7));
  command->add_option("--width", options->width, "Plot width in pixels (the EQ panel's at scale 1)")
      ->capture_default_str()
      ->check(CLI::PositiveNumber);
  command->add_option("--height", options->height, "Plot height in pixels")
      ->capture_default_str()
      ->check(CLI::PositiveNumber);
  command->callback([options, &exitCode] { exitCode = runResponse(*options); });
}

}  // namespace

ZR78_CTL_COMMAND(setupResponse);

}  // namespace zr78
