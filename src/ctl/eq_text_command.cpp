// Filter texts of room-EQ measurement software onto one channel and out of it:
//
//   zr78ctl preset apply-eq FILE --channel N --from TEXT (--out OUT | --in-place)
//   zr78ctl preset export-eq FILE --channel N
//   zr78ctl device [--simulate[=STATE]] apply-eq --channel N --from TEXT
//
// The report (per filter: asked, done; then "max_deviation_db X") goes to
// stderr, a refused text's lines with their reasons too. FILE is found as the
// window loads it; OUT is written at exactly the name (".ryb" appended unless
// it holds it), --in-place writes the file that was read. Every save replaces
// the file whole or not at all. Channels are 0..7 (CH1 = 0), as in `response`.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "channels/filter_import.h"
#include "ctl/ctl_commands.h"
#include "eq/filter_export.h"
#include "eq/filter_mapping.h"
#include "eq/filter_text.h"
#include "presets/file_io.h"
#include "presets/preset_file.h"
#include "registers/default_image.h"
#include "registers/register_table.h"
#include "sync/link_session.h"

namespace zr78 {

namespace {

// A filter text is a few kilobytes; anything much larger is not one.
constexpr std::uintmax_t kMaxFilterTextBytes = 1 << 20;

struct EqTextOptions {
  std::string file;
  int channel = 0;
  std::string from;
  std::string out;
  bool inPlace = false;
};

ExitCode fail(const std::string& command, const std::string& subject, const std::string& meaning, ExitCode code) {
  std::cerr << "zr78ctl " << command << ": " << subject << ": " << meaning << "\n";
  return code;
}

// The text of --from (a path, or - for standard input), bounded in size.
std::optional<std::string> readFilterTextFile(const std::string& command, const std::string& source, ExitCode& code) {
  std::string text;
  bool tooLarge = false;
  if (source == "-") {
    tooLarge = readBoundedStream(std::cin, kMaxFilterTextBytes, text) == ReadStatus::TooLarge;
  } else {
    std::vector<uint8_t> bytes;
    switch (readBoundedFile(pathFromUtf8(source), kMaxFilterTextBytes, bytes)) {
      case ReadStatus::Ok:
        text.assign(bytes.begin(), bytes.end());
        break;
      case ReadStatus::TooLarge:
        tooLarge = true;
        break;
      default:
        code = fail(command, source, std::string(fileResultMeaning(FileResult::CannotOpen)), ExitCode::CannotOpen);
        return std::nullopt;
    }
  }
  if (tooLarge) {
    code = fail(command, source, "larger than 1 MiB: not a filter text", ExitCode::RefusedFilterText);
    return std::nullopt;
  }
  return text;
}

// The text read and parsed; Ok when every line can be imported.
ExitCode readFilters(const std::string& command, const std::string& source, FilterText& filters) {
  ExitCode code = ExitCode::Ok;
  const std::optional<std::string> text = readFilterTextFile(command, source, code);
  if (!text) return code;
  FilterTextParse parse = parseFilterText(*text);
  if (!parse.ok()) {
    std::cerr << "zr78ctl " << command << ": " << source << ": the filter text cannot be imported\n";
    for (const FilterTextError& e : parse.errors)
      std::cerr << source << ":" << (e.line > 0 ? std::to_string(e.line) + ": " : std::string(" ")) << e.reason << "\n";
    return ExitCode::RefusedFilterText;
  }
  filters = std::move(parse.text);
  return ExitCode::Ok;
}

// A preset file as a whole register image; registers a short image does not
// carry read as their defaults.
ExitCode readPresetImage(const std::string& command, const std::string& name, PresetFile& file,
                         RegisterImage& registers) {
  const FileResult result = file.load(name);
  if (result != FileResult::Ok) return fail(command, name, std::string(fileResultMeaning(result)), exitCodeFor(result));
  registers = defaultRegisterImage();
  std::copy_n(file.values.begin(), std::min<size_t>(file.header.registerCount, registers.size()), registers.begin());
  return ExitCode::Ok;
}

std::vector<std::pair<int, int32_t>> writePairs(const std::vector<RegisterWrite>& writes) {
  std::vector<std::pair<int, int32_t>> pairs;
  for (const RegisterWrite& w : writes) pairs.emplace_back(w.address, w.value);
  return pairs;
}

ExitCode runPresetApply(const EqTextOptions& o, const Folders& folders) {
  const std::string command = "preset apply-eq";
  FilterText filters;
  if (const ExitCode code = readFilters(command, o.from, filters); code != ExitCode::Ok) return code;
  PresetFile file(folders);
  RegisterImage registers{};
  if (const ExitCode code = readPresetImage(command, o.file, file, registers); code != ExitCode::Ok) return code;
  const std::optional<FilterMapping> mapping = mapFilters(filters, registers, o.channel);
  if (!mapping) return fail(command, o.from, "the filter text cannot be imported", ExitCode::RefusedFilterText);
  std::cerr << filterMappingReport(*mapping);
  applyFilterImport(*mapping, registers);
  // The file keeps its header (device id, password flag); it is written now.
  file.header.time = localPresetTime();
  const std::string target = o.inPlace ? file.lastPath() : o.out;
  const FileResult result = file.writeImage(target, registers);
  if (result != FileResult::Ok) return fail(command, target, std::string(fileResultMeaning(result)), exitCodeFor(result));
  std::cout << (o.inPlace ? target : PresetFile::completeName(target)) << "\n";
  return ExitCode::Ok;
}

ExitCode runPresetExport(const EqTextOptions& o, const Folders& folders) {
  const std::string command = "preset export-eq";
  PresetFile file(folders);
  RegisterImage registers{};
  if (const ExitCode code = readPresetImage(command, o.file, file, registers); code != ExitCode::Ok) return code;
  const std::optional<ChannelFilterExport> exported = exportChannelFilters(registers, o.channel);
  if (!exported) return fail(command, o.file, "channel must be 0..7", ExitCode::Usage);
  std::cout << writeFilterText(exported->text);
  std::cerr << filterExportReport(*exported);
  return ExitCode::Ok;
}

// The channel as the amplifier holds it, the text laid onto it, sent and
// confirmed by a fresh read-back.
ExitCode applyOnDevice(LinkSession& s, ConsoleEvents& events, const FilterText& filters, int channel) {
  const RegisterImage registers = s.table.image();
  const std::optional<FilterMapping> mapping = mapFilters(filters, registers, channel);
  if (!mapping) return fail("device apply-eq", "the filter text", "cannot be imported", ExitCode::RefusedFilterText);
  std::cerr << filterMappingReport(*mapping);
  return writeRegistersConfirmed(s, events, writePairs(filterImportWrites(*mapping, registers)));
}

CLI::App* subcommandOf(CLI::App& root, const std::string& name) {
  const auto named = root.get_subcommands([&](CLI::App* sub) { return sub->get_name() == name; });
  return named.empty() ? nullptr : named.front();
}

void addChannelOption(CLI::App* command, EqTextOptions& o) {
  command->add_option("--channel", o.channel, "Output channel 0..7 (CH1 = 0)")->required()->check(CLI::Range(0, 7));
}

}  // namespace

void addEqTextCommands(CLI::App& root, CtlContext& context) {
  auto o = std::make_shared<EqTextOptions>();
  const Folders& folders = context.folders;

  if (CLI::App* preset = subcommandOf(root, "preset")) {
    CLI::App* apply = preset->add_subcommand(
        "apply-eq", "Replace one channel's bands (and crossovers, gain) from a filter text; report on stderr");
    apply->add_option("FILE", o->file, "preset file: a path, or a name found as the window loads it")->required();
    addChannelOption(apply, *o);
    apply->add_option("--from", o->from, "filter text (\"Filter 1: ON PK Fc ... Hz Gain ... dB Q ...\"), - for standard input")
        ->required();
    auto* out = apply->add_option("--out", o->out, "preset file to write (exactly there); FILE stays as it is");
    auto* inPlace = apply->add_flag("--in-place", o->inPlace, "rewrite FILE itself");
    out->excludes(inPlace);
    apply->callback([o, &context, &folders, out, inPlace] {
      if (out->count() + inPlace->count() != 1) {
        std::cerr << "zr78ctl preset apply-eq: give --out OUT or --in-place\n";
        context.exitCode = ExitCode::Usage;
        return;
      }
      context.exitCode = runPresetApply(*o, folders);
    });

    CLI::App* exporter = preset->add_subcommand("export-eq", "Print one channel's bands and crossovers as a filter text");
    exporter->add_option("FILE", o->file, "preset file: a path, or a name found as the window loads it")->required();
    addChannelOption(exporter, *o);
    exporter->callback([o, &context, &folders] { context.exitCode = runPresetExport(*o, folders); });
  }

  if (CLI::App* device = subcommandOf(root, "device"); device && context.runOnDevice) {
    CLI::App* apply = device->add_subcommand(
        "apply-eq", "Send a filter text to one channel of the amplifier and confirm it; report on stderr");
    addChannelOption(apply, *o);
    apply->add_option("--from", o->from, "filter text, - for standard input")->required();
    apply->callback([o, &context] {
      // The text is read before connecting: a refused text never reaches the amplifier.
      auto filters = std::make_shared<FilterText>();
      if ((context.exitCode = readFilters("device apply-eq", o->from, *filters)) != ExitCode::Ok) return;
      context.exitCode = context.runOnDevice(
          [o, filters](LinkSession& s, ConsoleEvents& events) { return applyOnDevice(s, events, *filters, o->channel); });
    });
  }
}

}  // namespace zr78
