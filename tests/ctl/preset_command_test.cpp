// zr78ctl preset run as a real process: output, round trip and failures.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "presets/file_io.h"
#include "presets/preset_file.h"
#include "presets/preset_test_support.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct CtlRun {
  int exitCode;
  std::string out, err;
};

class PresetCtl : public ::testing::Test {
 protected:
  test::TempDir dir;
  Folders folders = test::testFolders(dir.path());

  static std::string quoted(const std::string& text) { return "'" + text + "'"; }
  std::string path(const std::string& name) const { return utf8FromPath(dir.path() / name); }
  static std::string readText(const std::string& file) {
    const auto bytes = readWholeFile(file).value_or(std::vector<uint8_t>{});
    return std::string(bytes.begin(), bytes.end());
  }
  static void writeText(const std::string& file, const std::string& text) { std::ofstream(file) << text; }

  CtlRun run(const std::string& arguments) const {
    const std::string command = quoted(ZR78CTL_PATH) + " preset " + arguments + " >" + quoted(path("out.txt")) +
                                " 2>" + quoted(path("err.txt"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(path("out.txt")), readText(path("err.txt"))};
  }

  // A file written by the library with deviceId 8864 and sample values.
  std::string samplePreset(const std::string& name) {
    PresetFile data(folders);
    data.header.deviceId = 8864;
    auto values = test::sampleValues(3);
    values[12] = 580;                  // master volume -20 dB
    values[26] = 41;                   // channel 1: -59 dB, phase 180
    values[73] = 1250;                 // channel 1 delay
    EXPECT_EQ(data.writeImage(path(name), values), FileResult::Ok);
    return path(name);
  }
};

TEST_F(PresetCtl, ExportThenImportReproducesTheTuning) {
  const std::string original = samplePreset("a.ryb");
  const CtlRun exported = run("export " + quoted(original));
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const Json json = Json::parse(exported.out);
  EXPECT_EQ(json["deviceId"], 8864);
  EXPECT_EQ(json["headerSize"], 512);
  EXPECT_EQ(json["registers"].size(), 1678u);
  for (const char* key : {"registerCount", "passwordFlag", "formatOne", "reservedA", "reservedB"})
    EXPECT_TRUE(json.contains(key)) << key;
  for (const char* key : {"year", "month", "day", "hour", "minute", "second"}) EXPECT_TRUE(json["time"].contains(key)) << key;

  writeText(path("a.json"), exported.out);
  const CtlRun imported = run("import " + quoted(path("a.json")) + " " + quoted(path("b")));
  ASSERT_EQ(imported.exitCode, 0) << imported.err;
  PresetFile a(folders), b(folders);
  ASSERT_EQ(a.readImage(original), FileResult::Ok);
  ASSERT_EQ(b.readImage(path("b.ryb")), FileResult::Ok);
  EXPECT_EQ(b.header, a.header);
  EXPECT_EQ(b.values, a.values);
}

TEST_F(PresetCtl, ShowPrintsTheHeaderAndASummary) {
  const CtlRun shown = run("show " + quoted(samplePreset("a.ryb")));
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  for (const char* text : {"registerCount   1678", "deviceId        8864 (0x22A0)", "passwordFlag    0",
                           "time written", "master volume   -20 dB", "CH1     -59 dB    180'", "1250 us"})
    EXPECT_NE(shown.out.find(text), std::string::npos) << text << "\n" << shown.out;
}

TEST_F(PresetCtl, FailuresGiveOneLineAndTheResultCode) {
  const std::string good = samplePreset("good.ryb");
  auto damaged = readWholeFile(good).value();
  damaged[4000] ^= 1;
  std::ofstream(path("bad.ryb"), std::ios::binary).write(reinterpret_cast<const char*>(damaged.data()), damaged.size());
  Json json = Json::parse(run("export " + quoted(good)).out);
  auto jsonFile = [&](const std::string& name, const Json& content) {
    writeText(path(name), content.dump());
    return quoted(path(name));
  };
  Json shortRegisters = json, wideValue = json, noDevice = json, badLayout = json;
  shortRegisters["registers"].erase(0);
  wideValue["registers"][7] = 65536;
  noDevice.erase("deviceId");
  badLayout["headerSize"] = 600;
  writeText(path("broken.json"), "{\"deviceId\": 1, ");

  struct Case {
    const char* name;
    std::string arguments;
    int exitCode;
    const char* meaning;
  };
  const Case cases[] = {
      {"missing file", "show " + quoted(path("none.ryb")), 4, "cannot open"},
      {"damaged file", "export " + quoted(path("bad.ryb")), 6, "checksum mismatch"},
      {"empty name", "import " + jsonFile("ok.json", json) + " ''", 2, "empty name"},
      {"cannot create", "import " + jsonFile("ok.json", json) + " " + quoted(path("no/such/dir/x.ryb")), 5, "cannot create"},
      {"missing JSON file", "import " + quoted(path("none.json")) + " " + quoted(path("x")), 4, "cannot open"},
      {"broken JSON", "import " + quoted(path("broken.json")) + " " + quoted(path("x")), 1, "malformed JSON"},
      {"1677 registers", "import " + jsonFile("s.json", shortRegisters) + " " + quoted(path("x")), 1, "malformed JSON"},
      {"value 65536", "import " + jsonFile("w.json", wideValue) + " " + quoted(path("x")), 1, "malformed JSON"},
      {"no deviceId", "import " + jsonFile("d.json", noDevice) + " " + quoted(path("x")), 1, "malformed JSON"},
      {"other layout", "import " + jsonFile("l.json", badLayout) + " " + quoted(path("x")), 1, "malformed JSON"},
  };
  for (const Case& c : cases) {
    const CtlRun result = run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
    EXPECT_NE(result.err.find(c.meaning), std::string::npos) << c.name << ": " << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << c.name << ": " << result.err;
  }
  EXPECT_FALSE(fs::exists(path("x.ryb"))) << "no file from bad JSON";
}

}  // namespace
}  // namespace zr78
