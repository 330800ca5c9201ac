// zr78ctl preset: list, show, export and import preset files, for backups,
// version control and checks of tunings.
//
//   zr78ctl preset list               the saved tunings, one per line with its folder
//   zr78ctl preset show FILE          header and a readable summary
//   zr78ctl preset export FILE        JSON on stdout
//   zr78ctl preset import JSON FILE   preset file from such JSON ("-" = stdin)
//
// show and export find a name as the window's load does (the name itself, the
// preset folder, the fallback folder); import writes at exactly the name.
// Exit codes from exit_codes.h; a failure prints one line on stderr.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <iterator>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "ctl/ctl_commands.h"
#include "channels/gain_word.h"
#include "eq/channel_report.h"
#include "registers/register_table.h"
#include "presets/file_io.h"
#include "presets/preset_file.h"
#include "presets/preset_list.h"

namespace zr78 {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kChannels = 8;

struct MalformedJson : std::runtime_error {
  using std::runtime_error::runtime_error;
};

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

// ---- export / import --------------------------------------------------------

Json exportJson(const PresetFile& data) {
  const PresetHeader& h = data.header;
  Json json;
  json["registerCount"] = h.registerCount;
  json["deviceId"] = h.deviceId;
  json["passwordFlag"] = h.passwordFlag;
  json["headerSize"] = h.headerSize;
  json["formatOne"] = h.formatOne;
  json["reservedA"] = h.reservedA;
  json["reservedB"] = h.reservedB;
  json["time"] = {{"year", h.time.year},     {"month", h.time.month},   {"day", h.time.day},
                  {"hour", h.time.hour},     {"minute", h.time.minute}, {"second", h.time.second}};
  json["registers"] = Json::array();
  for (uint32_t r = 0; r < h.registerCount; ++r) json["registers"].push_back(data.values[r]);
  return json;
}

uint32_t unsignedValue(const Json& value, const std::string& name, uint32_t max) {
  if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<uint64_t>() > max)
    throw MalformedJson(name + " must be an integer 0.." + std::to_string(max));
  return value.get<uint32_t>();
}

// An optional field: its value when present, else `otherwise`.
uint32_t optionalField(const Json& json, const char* name, uint32_t max, uint32_t otherwise) {
  return json.contains(name) ? unsignedValue(json[name], name, max) : otherwise;
}

// The layout fields are the writer's own; other values cannot be written.
void checkLayoutField(const Json& json, const char* name, uint32_t written) {
  if (json.contains(name) && unsignedValue(json[name], name, UINT32_MAX) != written)
    throw MalformedJson(std::string(name) + " must be " + std::to_string(written));
}

std::vector<int32_t> importRegisters(const Json& json) {
  if (!json.contains("registers") || !json["registers"].is_array() || json["registers"].size() != kPresetRegisterCount)
    throw MalformedJson("registers must hold " + std::to_string(kPresetRegisterCount) + " values");
  std::vector<int32_t> values;
  for (const Json& value : json["registers"]) values.push_back(static_cast<int32_t>(unsignedValue(value, "register value", 65535)));
  return values;
}

void importHeader(const Json& json, PresetHeader& h) {
  if (!json.is_object()) throw MalformedJson("the top level must be an object");
  if (!json.contains("deviceId")) throw MalformedJson("deviceId is required");
  h.deviceId = unsignedValue(json["deviceId"], "deviceId", UINT32_MAX);
  h.passwordFlag = static_cast<uint8_t>(optionalField(json, "passwordFlag", 255, h.passwordFlag));
  h.reservedA = optionalField(json, "reservedA", UINT32_MAX, h.reservedA);
  h.reservedB = optionalField(json, "reservedB", UINT32_MAX, h.reservedB);
  checkLayoutField(json, "registerCount", kPresetRegisterCount);
  checkLayoutField(json, "headerSize", 512);
  checkLayoutField(json, "formatOne", 1);
  if (!json.contains("time")) return;
  const Json& time = json["time"];
  if (!time.is_object()) throw MalformedJson("time must be an object");
  std::pair<const char*, uint32_t*> fields[] = {{"year", &h.time.year},     {"month", &h.time.month},
                                                {"day", &h.time.day},       {"hour", &h.time.hour},
                                                {"minute", &h.time.minute}, {"second", &h.time.second}};
  for (auto& [name, field] : fields) *field = optionalField(time, name, UINT32_MAX, *field);
}

std::string readJsonText(const std::string& source) {
  if (source == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
  const auto bytes = readWholeFile(pathFromUtf8(source));
  if (!bytes) throw std::invalid_argument(source);
  return std::string(bytes->begin(), bytes->end());
}

// ---- commands ---------------------------------------------------------------

// The window's load order: the name itself, the preset folder, the fallback folder.
ExitCode readPreset(const std::string& file, PresetFile& data) {
  const FileResult result = data.load(file);
  return result == FileResult::Ok ? ExitCode::Ok : reportResult(file, result);
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
  std::cout << exportJson(data).dump(2) << "\n";
  return ExitCode::Ok;
}

ExitCode runImport(const std::string& source, const std::string& file, const Folders& folders) {
  PresetFile data(folders);
  std::vector<int32_t> values;
  try {
    const Json json = Json::parse(readJsonText(source));
    importHeader(json, data.header);
    values = importRegisters(json);
  } catch (const std::invalid_argument&) {
    return reportResult(source, FileResult::CannotOpen);
  } catch (const Json::exception& e) {
    return reportFailure(source, std::string("malformed JSON: ") + e.what(), ExitCode::MalformedJson);
  } catch (const MalformedJson& e) {
    return reportFailure(source, std::string("malformed JSON: ") + e.what(), ExitCode::MalformedJson);
  }
  const FileResult result = data.writeImage(file, std::span<const int32_t, kPresetRegisterCount>(values.data(), values.size()));
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

  CLI::App* importer = preset->add_subcommand("import", "Write a preset file from JSON (deviceId, 1678 registers)");
  importer->add_option("JSON", args->json, "JSON file, - for standard input")->required();
  importer->add_option("FILE", args->file, "preset file to write (exactly there)")->required();
  importer->callback([args, &context, &folders] { context.exitCode = runImport(args->json, args->file, folders); });
}

}  // namespace zr78
