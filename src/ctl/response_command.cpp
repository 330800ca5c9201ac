// zr78ctl response FILE --channel N [--width W --height H]: the computed
// response of one channel of a preset file as CSV; with --png OUT [--all]
// the graph as the window draws it instead.
#include <algorithm>
#include <iostream>
#include <memory>

#include "controls/response_graph_png.h"
#include "ctl/ctl_commands.h"
#include "eq/channel_report.h"
#include "eq/plot_geometry.h"
#include "presets/preset_file.h"
#include "registers/register_table.h"

namespace zr78 {

namespace {

struct ResponseOptions {
  std::string file;
  int channel = 0;
  int width = 0;
  int height = 0;
  std::string png;   // not empty: the picture instead of the CSV
  bool all = false;  // the picture shows every channel's curve
};

ExitCode writePng(const RegisterImage& registers, const ResponseOptions& options) {
  const GraphPictureResult result = saveResponseGraphPng(
      registers, {options.channel, options.all, options.width, options.height, options.png});
  if (result.status == GraphPictureStatus::kWritten) return ExitCode::Ok;
  std::cerr << "zr78ctl response: " << result.message << "\n";
  switch (result.status) {
    case GraphPictureStatus::kBadRequest: return ExitCode::Usage;
    case GraphPictureStatus::kCannotWrite: return ExitCode::CannotCreate;
    default: return ExitCode::Failed;
  }
}

ExitCode runResponse(const ResponseOptions& options, const Folders& folders) {
  PresetFile file(folders);
  if (const FileResult result = file.load(options.file); result != FileResult::Ok) {
    std::cerr << "zr78ctl response: " << options.file << ": " << fileResultMeaning(result) << "\n";
    return exitCodeFor(result);
  }
  // A short image leaves the registers it does not carry at their defaults.
  RegisterImage registers = defaultRegisterImage();
  std::copy_n(file.values.begin(), std::min<size_t>(file.header.registerCount, registers.size()),
              registers.begin());
  if (!options.png.empty()) return writePng(registers, options);
  const std::string csv = responseCsv(registers, options.channel, options.width, options.height);
  if (csv.empty()) {
    std::cerr << "zr78ctl response: channel must be 0..7 and the plot at least 1 x 1\n";
    return ExitCode::Usage;
  }
  std::cout << csv;
  return ExitCode::Ok;
}

}  // namespace

void addResponseCommand(CLI::App& root, CtlContext& context) {
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
  // Bounded so that the plot's arithmetic (width x height) stays far from overflow.
  command->add_option("--width", options->width, "Plot width in pixels, 64..8192 (the EQ panel's at scale 1)")
      ->capture_default_str()
      ->check(CLI::Range(64, 8192));
  command->add_option("--height", options->height, "Plot height in pixels, 64..8192")
      ->capture_default_str()
      ->check(CLI::Range(64, 8192));
  command->add_option("--png", options->png,
                      "Write the graph as the window draws it to this PNG file instead of the CSV");
  command->add_flag("--all", options->all, "With --png: the curves of all eight channels");
  command->callback([options, &context] { context.exitCode = runResponse(*options, context.folders); });
}

}  // namespace zr78
