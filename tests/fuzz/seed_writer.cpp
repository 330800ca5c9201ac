// Writes the seed corpora of the fuzz targets that start from real traffic
// and real texts (the preset reader's seeds are real files, kept as they
// are):
//   frame_receiver  the virtual amplifier's replies to the host's requests,
//                   as report payloads and as reassembled frames
//   preset_json     zr78ctl's export of every preset seed that reads
//   ini_file, typed_number, text_format  texts the program reads or prints
//
//   fuzz_seed_writer CORPUS_FOLDER   (tests/fuzz/corpus)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "ctl/preset_json.h"
#include "link/frame_codec.h"
#include "link/hid_transport.h"
#include "presets/file_io.h"
#include "sim/virtual_amplifier.h"
#include "text/shared_texts.h"
#include "text/window_texts.h"

namespace {

using namespace zr78;
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void write(const fs::path& file, const Bytes& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void write(const fs::path& file, const std::string& text) { write(file, Bytes(text.begin(), text.end())); }

// The reports the virtual amplifier sends for one request frame.
std::vector<Bytes> replyPayloads(sim::VirtualAmplifier& amplifier, uint8_t command, const Bytes& data) {
  HidDevice& device = amplifier.hidDevice();
  LinkState state;
  PacketWriter writer(device, state);
  const Bytes frame = buildFrame(command, data.data(), data.size());
  writer.writePacket(frame.data(), frame.size());
  std::vector<Bytes> payloads;
  uint8_t report[kReportSize];
  while (device.readReport(report, 50) > 1) payloads.emplace_back(report + 1, report + kReportSize);
  return payloads;
}

// Input layout of frame_receiver_fuzzer: mode byte, four seed bytes, stream.
Bytes receiverInput(uint8_t mode, const Bytes& stream) {
  Bytes input = {mode, 0x12, 0x34, 0x56, 0x78};
  input.insert(input.end(), stream.begin(), stream.end());
  return input;
}

void writeReceiverSeeds(const fs::path& folder) {
  sim::VirtualAmplifier amplifier;
  amplifier.hidDevice().open();
  struct Request {
    const char* name;
    uint8_t command;
    Bytes data;
  };
  const Request requests[] = {
      {"identify", CMD_IDENTIFY, {0}},
      {"read", CMD_READ_REGISTERS, {0, 0, 0, 1, 4, 0xDA, 4, 0xE0, 6, 0x8D}},
      {"write", CMD_WRITE_REGISTERS, {0, 12, 2, 0x44, 0, 26, 0, 41, 4, 0xDB, 0, 3}},
      {"mode-name", CMD_READ_MODE_NAME, {2}},
      {"name-write", CMD_WRITE_MODE_NAME, Bytes(21, 'A')},
      {"recall", CMD_RECALL_MODE, {3}},
      {"dump", CMD_DUMP_ALL, {0, 0, 0}},
  };
  for (const Request& request : requests) {
    const std::vector<Bytes> payloads = replyPayloads(amplifier, request.command, request.data);
    Bytes reports, frames;
    PacketAssembler assembler;
    for (const Bytes& payload : payloads) {
      reports.insert(reports.end(), payload.begin(), payload.end());
      if (const size_t length = assembler.feed(payload.data(), payload.size()); length > 0)
        frames.insert(frames.end(), assembler.frame(), assembler.frame() + length);
      if (reports.size() > 16384) break;  // a dump: its first part is enough
    }
    write(folder / (std::string(request.name) + "-frames"), receiverInput(0, frames));
    write(folder / (std::string(request.name) + "-reports"), receiverInput(3, reports));
    write(folder / (std::string(request.name) + "-sealed"), receiverInput(0x10, frames));
  }
  // A frame in two pieces after garbage, and a bad-CRC frame, sent often.
  Bytes mixed = {0x80, 0x01, 0x00, 0x55, 0x80};
  const Bytes echo = buildFrame(CMD_WRITE_REGISTERS, Bytes{0, 12, 2, 0x44}.data(), 4);
  Bytes bad = echo;
  bad.back() ^= 1;
  mixed.insert(mixed.end(), bad.begin(), bad.end());
  mixed.insert(mixed.end(), echo.begin(), echo.end());
  write(folder / "mixed-repeated", receiverInput(0xEC, mixed));  // to the bound, CRCs as they are
  const std::string text = "Set_Restart:OK\r\n";
  write(folder / "module-text", receiverInput(0, buildFrame(CMD_MODULE_TEXT, reinterpret_cast<const uint8_t*>(text.data()), text.size())));
}

void writeJsonSeeds(const fs::path& presets, const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(presets)) {
    const auto bytes = readWholeFile(entry.path());
    DecodedPreset decoded;
    if (!bytes || decodePreset(*bytes, decoded) != FileResult::Ok) continue;
    write(folder / (entry.path().stem().string() + ".json"), presetJsonText(decoded.header, decoded.values));
  }
  write(folder / "minimal.json", std::string("{\"deviceId\": 4037, \"registers\": [1, 2, 3]}"));
  write(folder / "wrong-types.json",
        std::string("{\"deviceId\": -1, \"registerCount\": 2.5, \"time\": [], \"registers\": {\"a\": null}}"));
}

void writeTextSeeds(const fs::path& corpus) {
  // Four strings, each ended by a backslash and one more character, then the file.
  write(corpus / "ini_file" / "language", std::string("zr78\\|Language\\|Skin\\|2\\|[zr78]\r\nLanguage=2\r\n"));
  write(corpus / "ini_file" / "sections",
        std::string("zr78\\|Key\\|Other\\| 7 ; c\\|[ZR78]\nkey = 1\n[other]\nKey=2\n# comment\n[zr78]\nOther=x\n"));

  const char* typed[] = {"1.5", "-3dB", "R3", "L12", "1.000mS", "20000Hz", "OFF", "99999999999999999999999",
                         ".5", "--1", "1e400", "0.0000000000000000000000000001", "Center", "12,5"};
  int n = 0;
  for (const char* text : typed) {
    Bytes input(text, text + std::string(text).size());
    input.insert(input.end(), {0x01, 0x00, 0x00, 0x00, 0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xF1, 0x3F, 0x01});
    write(corpus / "typed_number" / ("typed-" + std::to_string(n++)), input);
  }

  n = 0;
  const auto formatSeed = [&](std::string_view text) {
    Bytes input(text.begin(), text.end());
    input.insert(input.end(), {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x49, 0x40, 0x2A, 0x00, 0x00, 0x00, 0x00});
    write(corpus / "text_format" / ("text-" + std::to_string(n++)), input);
  };
  for (int id = 0; id < kTextCount; ++id)
    for (Language language : {Language::kSimplifiedChinese, Language::kEnglish}) {
      const std::string_view text = sharedText(static_cast<TextId>(id), language);
      if (text.find('%') != std::string_view::npos) formatSeed(text);
    }
  for (const char* format : {"%0.1f", "%0.0fHz", "%0.1f dBu", "%0.0fms", "%+08.3e", "%-12g", "%#.0f", "%5d", "%.0d",
                             "%x", "%%d", "100%% %5.0f"})
    formatSeed(format);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path corpus = argv[1];
  writeReceiverSeeds(corpus / "frame_receiver");
  writeJsonSeeds(corpus / "preset_reader", corpus / "preset_json");
  writeTextSeeds(corpus);
  return 0;
}
