// zr78ctl preset run as a real process: output, round trip and failures.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "ctl/ctl_process.h"
#include "presets/file_io.h"
#include "presets/preset_file.h"
#include "presets/preset_test_support.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

using test::CtlRun;

class PresetCtl : public ::testing::Test {
 protected:
  test::CtlProcess ctl{"zr78-preset-ctl-"};
  const fs::path& root = ctl.root();
  Folders folders = test::testFolders(root);

  static std::string quoted(const std::string& text) { return test::shellQuoted(text); }
  std::string path(const std::string& name) const { return utf8FromPath(root / name); }
  static void writeText(const std::string& file, const std::string& text) { std::ofstream(file) << text; }

  CtlRun run(const std::string& arguments, const std::optional<fs::path>& folder = {}) const {
    return ctl.run("preset " + arguments, folder);
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

// A file of another writer with fewer registers: its export imports, the
// missing registers from the defaults, with a note that names the count.
TEST_F(PresetCtl, ImportTakesWhatExportPrintsForAShortImage) {
  const fs::path shortFile = fs::path(ZR78_FUZZ_CORPUS) / "preset_reader" / "other-writer-short.ryb";
  const CtlRun exported = run("export " + quoted(shortFile.string()));
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const Json json = Json::parse(exported.out);
  const size_t count = json["registers"].size();
  ASSERT_LT(count, 1678u);
  EXPECT_NE(json["headerSize"], 512) << "another writer's layout";
  writeText(path("short.json"), exported.out);
  const CtlRun imported = run("import " + quoted(path("short.json")) + " " + quoted(path("short")));
  ASSERT_EQ(imported.exitCode, 0) << imported.err;
  EXPECT_NE(imported.err.find("registers holds " + std::to_string(count) + " of 1678 values"), std::string::npos)
      << imported.err;
  const Json again = Json::parse(run("export " + quoted(path("short.ryb"))).out);
  ASSERT_EQ(again["registers"].size(), 1678u);
  for (size_t r = 0; r < count; ++r) ASSERT_EQ(again["registers"][r], json["registers"][r]) << r;
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
  Json miscounted = json, tooMany = json, wideValue = json, noDevice = json;
  miscounted["registers"].erase(0);
  tooMany["registers"].push_back(0);
  tooMany.erase("registerCount");
  wideValue["registers"][7] = 65536;
  noDevice.erase("deviceId");
  writeText(path("broken.json"), "{\"deviceId\": 1, ");

  struct Case {
    const char* name;
    std::string arguments;
    int exitCode;
    const char* meaning;
  };
  const Case cases[] = {
      {"missing file", "show " + quoted(path("none.ryb")), 4, "cannot open"},
      {"missing name", "show none", 4, "cannot open"},
      {"damaged file", "export " + quoted(path("bad.ryb")), 6, "checksum mismatch"},
      {"empty name", "import " + jsonFile("ok.json", json) + " ''", 7, "empty name"},
      {"empty name to show", "show ''", 7, "empty name"},
      {"cannot create", "import " + jsonFile("ok.json", json) + " " + quoted(path("no/such/dir/x.ryb")), 5, "cannot create"},
      {"missing JSON file", "import " + quoted(path("none.json")) + " " + quoted(path("x")), 4, "cannot open"},
      {"broken JSON", "import " + quoted(path("broken.json")) + " " + quoted(path("x")), 9, "malformed JSON"},
      {"registerCount 1678, 1677 registers", "import " + jsonFile("s.json", miscounted) + " " + quoted(path("x")), 9,
       "registers holds 1677 values"},
      {"1679 registers", "import " + jsonFile("m.json", tooMany) + " " + quoted(path("x")), 9, "holds 1679 values"},
      {"value 65536", "import " + jsonFile("w.json", wideValue) + " " + quoted(path("x")), 9, "malformed JSON"},
      {"no deviceId", "import " + jsonFile("d.json", noDevice) + " " + quoted(path("x")), 9, "malformed JSON"},
  };
  for (const Case& c : cases) {
    const CtlRun result = run(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
    EXPECT_NE(result.err.find(c.meaning), std::string::npos) << c.name << ": " << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << c.name << ": " << result.err;
  }
  EXPECT_FALSE(fs::exists(path("x.ryb"))) << "no file from bad JSON";
  EXPECT_EQ(run("show").exitCode, 2) << "FILE missing";
  EXPECT_EQ(run("").exitCode, 2) << "no subcommand";
}

// The program's folders as zr78ctl sees them from its environment.
struct UserFolders {
  fs::path preset, fallback;
};

// A bare name is looked for as the window's load looks: the working folder,
// the preset folder, the fallback folder.
TEST_F(PresetCtl, ShowFindsABareNameAsTheWindowsLoad) {
  const UserFolders user{ctl.dataHome() / "zr78" / "FileData", ctl.dataHome() / "zr78"};
  fs::create_directories(user.preset);
  fs::create_directories(root / "elsewhere");
  const std::string preset = samplePreset("p.ryb"), fallback = samplePreset("f.ryb");
  fs::copy_file(preset, user.preset / "Bass.ryb");
  fs::copy_file(fallback, user.fallback / "Treble.ryb");
  fs::copy_file(fallback, user.fallback / "Bass.ryb");  // the preset folder's wins
  fs::copy_file(fallback, root / "elsewhere" / "Treble.ryb");  // the working folder's wins

  const struct {
    const char* name;
    fs::path folder;
    fs::path found;
  } cases[] = {
      {"Bass", ctl.working(), user.preset / "Bass.ryb"},
      {"Bass.ryb", ctl.working(), user.preset / "Bass.ryb"},
      {"Treble", ctl.working(), user.fallback / "Treble.ryb"},
      {"Treble", root / "elsewhere", root / "elsewhere" / "Treble.ryb"},
  };
  for (const auto& c : cases) {
    const CtlRun shown = run(std::string("show ") + c.name, c.folder);
    ASSERT_EQ(shown.exitCode, 0) << c.name << ": " << shown.err;
    EXPECT_NE(shown.out.find("file            " + utf8FromPath(c.found) + "\n"), std::string::npos)
        << c.name << "\n" << shown.out;
  }
}

// preset list: what the window's file list shows, in its order, each with
// its folder; files that are not preset files are left out.
TEST_F(PresetCtl, ListShowsTheSavedTuningsWithTheirFolders) {
  const UserFolders user{ctl.dataHome() / "zr78" / "FileData", ctl.dataHome() / "zr78"};
  fs::create_directories(user.preset);
  const std::string sample = samplePreset("sample.ryb");
  for (const fs::path& file : {ctl.working() / "Local.ryb", user.preset / "Bass.ryb", user.preset / "Alto.RYB",
                               user.fallback / "Old.ryb", user.fallback / "Bass.ryb"})
    fs::copy_file(sample, file);
  writeText(utf8FromPath(user.preset / "notes.txt"), "not a tuning");
  writeText(utf8FromPath(user.preset / "Bass.ryb.old"), "not a tuning");
  fs::create_directories(user.preset / "folder.ryb");
  writeText(utf8FromPath(user.fallback / "virtual-amplifier.state"), "");

  const CtlRun listed = run("list");
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  const std::string working = utf8FromPath(ctl.working()), preset = utf8FromPath(user.preset),
                    fallback = utf8FromPath(user.fallback);
  EXPECT_EQ(listed.out, "Local.ryb\t" + working + "\n" +       //
                            "Alto.RYB\t" + preset + "\n" +       //
                            "Bass.ryb\t" + preset + "\n" +       //
                            "Bass.ryb\t" + fallback + "\n" +     //
                            "Old.ryb\t" + fallback + "\n");
  // Nothing saved anywhere: an empty list, not an error.
  fs::remove_all(ctl.dataHome() / "zr78");
  fs::remove(ctl.working() / "Local.ryb");
  const CtlRun empty = run("list");
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_EQ(empty.out, "");
}

}  // namespace
}  // namespace zr78
