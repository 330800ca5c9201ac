// zr78ctl preset: list, show, export and import preset files, for backups,
// version control and checks of tunings.
//
//   zr78ctl preset list               the saved tunings, one per line with its folder
//   zr78ctl preset show FILE          header and a readable summary
//   zr78ctl preset export FILE        JSON on stdout
//   zr78ctl preset import JSON FILE   preset file from such JSON ("-" = stdin)
//
// show and export find a name as the window's load does (the name itself, the
// preset folder, the fallback folder); import writes at exactly the name and
// takes whatever export prints (preset_json.h). Every file read is a regular
// file of at most 1 MiB.
// Exit codes from exit_codes.h; a failure prints one line on stderr.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "ctl/ctl_commands.h"
#include "ctl/preset_json.h"
#include "channels/gain_word.h"
#include "eq/channel_report.h"
#include "registers/register_table.h"
#include "presets/file_io.h"
#include "presets/preset_file.h"
#include "presets/preset_list.h"

namespace zr78 {

namespace {

constexpr int kChannels = 8;

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, pattern, args...);
  return buffer;
}

ExitCode reportFailure(const std::string& subject, const std::string& meaning, ExitCode exitCode) {
  std::cerr << "zr78ctl preset: " << subject << ": " << meaning << "\n";
  return exitCode;
}

ExitCode reportResult(const std::string& file, FileResult result) {
  return reportFailure(file, std::string(fileResultMeaning(result)), exitCodeFor(result));
}

// ---- show -------------------------------------------------------------------

// Register values of a read file; addresses beyond its registerCount are absent.
struct Image {
  const PresetFile& data;
  bool has(int address) const { return address >= 0 && static_cast<uint32_t>(address) < data.header.registerCount; }
  int32_t at(int address) const { return data.values[static_cast<size_t>(address)]; }
};

// Gain and master volume words share the gain word's layout; -60 dB is OFF.
std::string gainText(int32_t word) {
  const int gain = decodeGainWord(word).gainDb;
  return gain <= kMinChannelGainDb ? "OFF" : format("%d dB", gain);
}

std::string phaseText(int32_t word) { return decodeGainWord(word).phase180 ? "180'" : "0'"; }

struct ChannelColumn {
  const char* title;
  int address;  // of channel 0; channel c uses address + step * c
  int step;
  std::string (*text)(int32_t word);
};

// One row per channel; add a column here to show more of a channel.
const ChannelColumn kChannelColumns[] = {
    {"gain", kFirstChannelGainRegister, 1, gainText},
    {"phase", kFirstChannelGainRegister, 1, phaseText},
    {"mute", kFirstMuteRegister, 1, [](int32_t w) -> std::string { return w > 0 ? "muted" : "on"; }},
    {"delay", kFirstDelayRegister, 1, [](int32_t w) { return format("%d us", w); }},
    {"role", kFirstSpeakerRoleRegister, 1, [](int32_t w) { return format("%d", w); }},
};

void printChannelSummary(std::ostream& out, const Image& image) {
  out << format("%-8s", "channel");
  for (const ChannelColumn& column : kChannelColumns) out << format("%-10s", column.title);
  out << "\n";
  for (int c = 0; c < kChannels; ++c) {
    out << format("CH%-6d", c + 1);
    for (const ChannelColumn& column : kChannelColumns) {
      const int address = column.address + column.step * c;
      out << format("%-10s", image.has(address) ? column.text(image.at(address)).c_str() : "-");
    }
    out << "\n";
  }
}

void printShow(std::ostream& out, const std::string& file, const PresetFile& data) {
  const PresetHeader& h = data.header;
  const Image image{data};
  const auto registerText = [&](int address, std::string (*text)(int32_t)) {
    return image.has(address) ? text(image.at(address)) : std::string("-");
  };
  const auto number = [](int32_t w) { return format("%d", w); };
  out << format("%-16s%s\n", "file", file.c_str());
  out << format("%-16s%u\n", "registerCount", h.registerCount);
  out << format("%-16s%u (0x%04X)\n", "deviceId", h.deviceId, h.deviceId);
  out << format("%-16s%u%s\n", "passwordFlag", static_cast<unsigned>(h.passwordFlag), h.passwordFlag == 1 ? " (protected)" : "");
  out << format("%-16s%04u-%02u-%02u %02u:%02u:%02u\n", "time written", h.time.year, h.time.month, h.time.day,
                h.time.hour, h.time.minute, h.time.second);
  out << format("%-16s%s\n", "master volume", registerText(kFirstVolumeRegister, gainText).c_str());
  out << format("%-16s%s\n", "input source", registerText(kInputSourceRegister, number).c_str());
  out << format("%-16s%s\n\n", "active mode", registerText(kActiveModeRegister, number).c_str());
  printChannelSummary(out, image);
  // EQ, crossovers and limiter in engineering units; registers a short
  // image does not carry read as their defaults.
  RegisterImage registers = defaultRegisterImage();
  for (int a = 0; a < kRegisterCount; ++a)
    if (image.has(a)) registers[a] = image.at(a);
  for (int c = 0; c < kChannels; ++c) out << "\n" << describeChannelEq(registers, c);
}

// ---- import -----------------------------------------------------------------

// The JSON text from a file or standard input, at most kMaxReadBytes.
ExitCode readJsonText(const std::string& source, std::string& text) {
  if (source == "-") {
    if (readBoundedStream(std::cin, kMaxReadBytes, text) == ReadStatus::TooLarge)
      return reportFailure("standard input", readStatusMeaning(ReadStatus::TooLarge), ExitCode::MalformedJson);
    return ExitCode::Ok;
  }
  std::vector<uint8_t> bytes;
  const ReadStatus status = readBoundedFile(pathFromUtf8(source), kMaxReadBytes, bytes);
  if (status == ReadStatus::TooLarge) return reportFailure(source, readStatusMeaning(status), ExitCode::MalformedJson);
  if (status != ReadStatus::Ok) return reportFailure(source, readStatusMeaning(status), ExitCode::CannotOpen);
  text.assign(bytes.begin(), bytes.end());
  return ExitCode::Ok;
}

// ---- commands ---------------------------------------------------------------

// The window's load order: the name itself, the preset folder, the fallback folder.
ExitCode readPreset(const std::string& file, PresetFile& data) {
  const FileResult result = data.load(file);
  if (result == FileResult::Ok) return ExitCode::Ok;
  // The reader's own reason ("not a regular file", "larger than 1 MiB") says more.
  return reportFailure(file, data.problem().empty() ? std::string(fileResultMeaning(result)) : data.problem(),
                       exitCodeFor(result));
}

ExitCode runShow(const std::string& file, const Folders& folders) {
  PresetFile data(folders);
  if (const ExitCode failed = readPreset(file, data); failed != ExitCode::Ok) return failed;
  std::error_code error;
  printShow(std::cout, utf8FromPath(std::filesystem::absolute(pathFromUtf8(data.lastPath()), error)), data);
  return ExitCode::Ok;
}

ExitCode runExport(const std::string& file, const Folders& folders) {
  PresetFile data(folders);
  if (const ExitCode failed = readPreset(file, data); failed != ExitCode::Ok) return failed;
  std::cout << presetJsonText(data.header, data.values) << "\n";
  return ExitCode::Ok;
}

ExitCode runImport(const std::string& source, const std::string& file, const Folders& folders) {
  std::string text;
  if (const ExitCode failed = readJsonText(source, text); failed != ExitCode::Ok) return failed;
  PresetFile data(folders);
  const ImportedPreset imported = presetFromJson(text, data.header);
  if (!imported.ok) return reportFailure(source, "malformed JSON: " + imported.error, ExitCode::MalformedJson);
  if (!imported.note.empty()) std::cerr << "zr78ctl preset: " << source << ": " << imported.note << "\n";
  data.header = imported.header;
  const FileResult result = data.writeImage(file, imported.values);
  if (result != FileResult::Ok) return reportResult(file, result);
  std::cout << PresetFile::completeName(file) << "\n";
  return ExitCode::Ok;
}

// NAME <tab> FOLDER, the order of the window's file list.
ExitCode runList(const Folders& folders) {
  for (const ListedPreset& preset : listPresetFiles(folders))
    std::cout << preset.name << "\t" << utf8FromPath(preset.folder) << "\n";
  return ExitCode::Ok;
}

struct PresetArguments {
  std::string file;
  std::string json;
};

}  // namespace

void addPresetCommand(CLI::App& root, CtlContext& context) {
  auto args = std::make_shared<PresetArguments>();
  CLI::App* preset = root.add_subcommand("preset", "Preset files (.ryb): list, show, export to JSON, import from JSON");
  preset->require_subcommand(1);
  const Folders& folders = context.folders;

  CLI::App* list = preset->add_subcommand(
      "list", "Print the saved tunings the window lists (working, preset and fallback folder) as NAME<tab>FOLDER");
  list->callback([&context, &folders] { context.exitCode = runList(folders); });

  CLI::App* show = preset->add_subcommand("show", "Print the header and a summary of the tuning");
  show->add_option("FILE", args->file, "preset file: a path, or a name found as the window loads it")->required();
  show->callback([args, &context, &folders] { context.exitCode = runShow(args->file, folders); });

  CLI::App* exporter = preset->add_subcommand("export", "Print the header and all register values as JSON");
  exporter->add_option("FILE", args->file, "preset file: a path, or a name found as the window loads it")->required();
  exporter->callback([args, &context, &folders] { context.exitCode = runExport(args->file, folders); });

  CLI::App* importer = preset->add_subcommand(
      "import",
      "Write a preset file from JSON as export prints it: deviceId and up to 1678 registers (fewer are filled "
      "from the register defaults, with a note on stderr); registerCount, when given, must match the registers; "
      "headerSize and formatOne are informational");
  importer->add_option("JSON", args->json, "JSON file, - for standard input")->required();
  importer->add_option("FILE", args->file, "preset file to write (exactly there)")->required();
  importer->callback([args, &context, &folders] { context.exitCode = runImport(args->json, args->file, folders); });
}

}  // namespace zr78
