// What `zr78ctl preset export` prints and `import` reads: import accepts
// whatever export prints for any file the reader takes, and the round trip
// keeps every register, over the whole preset corpus of the fuzzer.
#include "ctl/preset_json.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>

#include "presets/file_io.h"
#include "registers/default_image.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// export -> import -> write -> read -> export: the registers of the first
// export come back, and a short image's missing registers are the defaults.
TEST(PresetJson, ExportThenImportKeepsEveryRegisterOfTheCorpus) {
  int read = 0, shortImages = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(ZR78_FUZZ_CORPUS) / "preset_reader")) {
    const auto bytes = readWholeFile(entry.path());
    ASSERT_TRUE(bytes) << entry.path();
    DecodedPreset file;
    if (decodePreset(*bytes, file) != FileResult::Ok) continue;
    ++read;
    SCOPED_TRACE(entry.path().filename().string());
    const uint32_t count = file.header.registerCount;
    const Json first = Json::parse(presetJsonText(file.header, file.values));
    ASSERT_EQ(first["registers"].size(), count);

    const ImportedPreset imported = presetFromJson(first.dump());
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(imported.registersGiven, count);
    EXPECT_EQ(imported.note.empty(), count == kPresetRegisterCount) << imported.note;
    std::mt19937 random(1);
    DecodedPreset written;
    ASSERT_EQ(decodePreset(encodePreset(imported.header, imported.values, random), written), FileResult::Ok);
    const Json second = Json::parse(presetJsonText(written.header, written.values));
    ASSERT_EQ(second["registers"].size(), kPresetRegisterCount);
    for (uint32_t r = 0; r < kPresetRegisterCount; ++r) {
      const int32_t expected = r < count ? first["registers"][r].get<int32_t>() : defaultRegisterImage()[r];
      ASSERT_EQ(second["registers"][r].get<int32_t>(), expected) << "register " << r;
    }
    for (const char* field : {"deviceId", "passwordFlag", "reservedA", "reservedB", "time"})
      EXPECT_EQ(second[field], first[field]) << field;
    if (count < kPresetRegisterCount) ++shortImages;
  }
  EXPECT_GE(read, 3) << "the corpus holds files that read";
  EXPECT_GE(shortImages, 1) << "and one of another writer with fewer registers";
}

// The JSON of a whole preset, every register its address modulo 1000.
Json wholePreset() {
  Json json = {{"registerCount", 1678}, {"deviceId", 4037}, {"passwordFlag", 0}, {"headerSize", 512},
               {"formatOne", 1},        {"reservedA", 0},   {"reservedB", 0}};
  json["registers"] = Json::array();
  for (int r = 0; r < kPresetRegisterCount; ++r) json["registers"].push_back(r % 1000);
  return json;
}

TEST(PresetJson, ImportRulesForLayoutFieldsAndCounts) {
  struct Case {
    const char* name;
    void (*change)(Json&);
    bool ok;
    const char* says;  // in the error, or in the note when ok
  } const cases[] = {
      {"whole", [](Json&) {}, true, ""},
      {"headerSize and formatOne are informational",
       [](Json& j) {
         j["headerSize"] = 600;
         j["formatOne"] = 7;
       },
       true, ""},
      {"no registerCount", [](Json& j) { j.erase("registerCount"); }, true, ""},
      {"short array, counted",
       [](Json& j) {
         j["registers"].erase(j["registers"].begin() + 1200, j["registers"].end());
         j["registerCount"] = 1200;
       },
       true, "registers holds 1200 of 1678 values; registers 1200..1677 take their default values"},
      {"registerCount disagrees", [](Json& j) { j["registers"].erase(0); }, false,
       "registerCount is 1678 but registers holds 1677 values"},
      {"too many", [](Json& j) { j["registers"].push_back(1); j.erase("registerCount"); }, false,
       "registers holds 1679 values, more than the 1678 of a preset file"},
      {"value too large", [](Json& j) { j["registers"][7] = 65536; }, false, "register 7 must be an integer 0..65535"},
      {"negative value", [](Json& j) { j["registers"][8] = -1; }, false, "register 8 must be an integer 0..65535"},
      {"fraction", [](Json& j) { j["registers"][9] = 1.5; }, false, "register 9 must be an integer"},
      {"no deviceId", [](Json& j) { j.erase("deviceId"); }, false, "deviceId is required"},
      {"passwordFlag beyond a byte", [](Json& j) { j["passwordFlag"] = 256; }, false, "passwordFlag must be an integer 0..255"},
      {"time not an object", [](Json& j) { j["time"] = 5; }, false, "time must be an object"},
      {"not an object", [](Json& j) { j = Json::array(); }, false, "the top level must be an object"},
  };
  for (const Case& c : cases) {
    Json json = wholePreset();
    c.change(json);
    const ImportedPreset imported = presetFromJson(json.dump());
    EXPECT_EQ(imported.ok, c.ok) << c.name << ": " << imported.error;
    const std::string& said = c.ok ? imported.note : imported.error;
    EXPECT_NE(said.find(c.says), std::string::npos) << c.name << ": " << said;
    if (c.ok && std::string_view(c.says).empty()) {
      EXPECT_EQ(imported.note, "") << c.name;
    }
  }
  EXPECT_FALSE(presetFromJson("{\"deviceId\": 1, ").ok);
  EXPECT_FALSE(presetFromJson(std::string(100000, '[')).ok) << "deep nesting is refused, not a crash";
}

TEST(PresetJson, ShortArrayIsFilledFromTheDefaults) {
  Json json = wholePreset();
  json["registers"].erase(json["registers"].begin() + 100, json["registers"].end());
  json.erase("registerCount");
  const ImportedPreset imported = presetFromJson(json.dump());
  ASSERT_TRUE(imported.ok) << imported.error;
  for (int r = 0; r < kPresetRegisterCount; ++r)
    ASSERT_EQ(imported.values[r], r < 100 ? r % 1000 : defaultRegisterImage()[r]) << r;
}

}  // namespace
}  // namespace zr78
