// `zr78ctl preset apply-eq | export-eq` and `device apply-eq` as a user runs
// them: separate processes on preset files and on one virtual amplifier.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ctl/ctl_process.h"
#include "eq/eq_model.h"
#include "eq/filter_texts.h"
#include "presets/preset_file.h"
#include "presets/preset_test_support.h"
#include "registers/default_image.h"

namespace zr78 {
namespace {

namespace fs = std::filesystem;
using test::CtlRun;
using namespace EqParamIndex;

constexpr int kChannel = 2;

class EqTextCtl : public ::testing::Test {
 protected:
  test::CtlProcess ctl{"zr78-eq-text-ctl-"};
  const fs::path& root = ctl.root();
  Folders folders = test::testFolders(root);

  static std::string quoted(const fs::path& path) { return test::shellQuoted(path.string()); }
  fs::path text(const std::string& name, const std::string& content) const {
    std::ofstream(root / name, std::ios::binary) << content;
    return root / name;
  }
  // A tuning of the default registers with one value of channel 2's strip moved.
  fs::path tuning(const std::string& name) {
    RegisterImage values = defaultRegisterImage();
    values[channelGainRegister(kChannel)] = 90;  // -10 dB, phase 180
    PresetFile file(folders);
    file.header.deviceId = 4037;
    EXPECT_EQ(file.writeImage((root / name).string(), values), FileResult::Ok);
    return root / name;
  }
  RegisterImage registersOf(const fs::path& path) {
    PresetFile file(folders);
    EXPECT_EQ(file.readImage(path.string()), FileResult::Ok) << path;
    RegisterImage values{};
    std::copy_n(file.values.begin(), values.size(), values.begin());
    return values;
  }
  static int address(int param) { return *eqRegisterAddress(kChannel, param); }
};

TEST_F(EqTextCtl, ApplyWritesAnotherFileAndReportsOnStderr) {
  const fs::path original = tuning("car.ryb");
  const std::string before = test::fileText(original);
  const CtlRun applied = ctl.run("preset apply-eq " + quoted(original) + " --channel 2 --from " +
                                 quoted(text("rew.txt", test::kIssueExample)) + " --out " + quoted(root / "corrected"));
  ASSERT_EQ(applied.exitCode, 0) << applied.err;
  EXPECT_EQ(applied.out, (root / "corrected.ryb").string() + "\n");
  EXPECT_EQ(test::fileText(original), before) << "FILE stays as it is";
  for (const char* row : {"band 1: 64 Hz, -5.2 dB, Q 4.01 (panel Q 12.7)", "off: not applied",
                          "high-pass: Butterworth 12dB/Oct at 80 Hz", "channel gain -5 dB"})
    EXPECT_NE(applied.err.find(row), std::string::npos) << row << "\n" << applied.err;
  EXPECT_EQ(applied.err.substr(applied.err.rfind('\n', applied.err.size() - 2) + 1), "max_deviation_db 0.257\n");

  const RegisterImage old = registersOf(original), now = registersOf(root / "corrected.ryb");
  EXPECT_EQ(now[address(kBandFrequency)], 0x8000 + 640);
  EXPECT_EQ(now[address(kBandGain)], 448);
  EXPECT_EQ(now[address(kBandQ)], encodeQ(12.7));
  EXPECT_EQ(now[address(kHighPassCode)], 8);
  EXPECT_EQ(now[channelGainRegister(kChannel)], 95) << "-5 dB, the phase kept";
  // Nothing outside channel 2's block and gain word moved.
  for (int a = 0; a < kRegisterCount; ++a) {
    const bool ownBlock = a >= channelBlockRegister(kChannel, 0) && a < channelBlockRegister(kChannel + 1, 0);
    if (!ownBlock && a != channelGainRegister(kChannel)) {
      ASSERT_EQ(now[a], old[a]) << a;
    }
  }
}

// Export prints the text; importing it back in place changes no register.
TEST_F(EqTextCtl, ExportedTextAppliesBackToTheSameRegisters) {
  const fs::path file = tuning("car.ryb");
  ASSERT_EQ(ctl.run("preset apply-eq " + quoted(file) + " --channel 2 --in-place --from " +
                    quoted(text("ten.txt", test::kTenFilterFile)))
                .exitCode,
            0);
  const RegisterImage corrected = registersOf(file);
  const CtlRun exported = ctl.run("preset export-eq " + quoted(file) + " --channel 2");
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_EQ(exported.out.substr(0, 67),
            "# ZR-78 CH3 equaliser\n"
            "Filter 1: ON PK Fc 39 Hz Gain -7.8 dB Q 4.73\n");
  EXPECT_NE(exported.err.find("Filter 10  band 10\n"), std::string::npos) << exported.err;
  EXPECT_NE(exported.err.find("max_deviation_db 0.000\n"), std::string::npos) << exported.err;

  const CtlRun back = ctl.run("preset apply-eq " + quoted(file) + " --channel 2 --in-place --from " +
                              quoted(text("exported.txt", exported.out)));
  ASSERT_EQ(back.exitCode, 0) << back.err;
  EXPECT_EQ(registersOf(file), corrected);
  // The export reads from standard input as well.
  const CtlRun piped = ctl.run("preset apply-eq " + quoted(file) + " --channel 2 --from - --out " +
                               quoted(root / "piped.ryb") + " < " + quoted(root / "exported.txt"));
  ASSERT_EQ(piped.exitCode, 0) << piped.err;
  EXPECT_EQ(registersOf(root / "piped.ryb"), corrected);
}

TEST_F(EqTextCtl, FailuresGiveTheirExitCodesAndWriteNothing) {
  const fs::path file = tuning("car.ryb");
  const std::string before = test::fileText(file);
  std::ofstream(root / "damaged.ryb") << "not a preset file";
  const std::string good = quoted(text("good.txt", test::kIssueExample));
  const std::string shelf = quoted(text("shelf.txt", "Filter Settings file\n\nFilter 1: ON LS Fc 100 Hz Gain 3 dB Q 0.7\n"));
  const std::string out = " --out " + quoted(root / "out.ryb");
  const struct {
    std::string args;
    int exitCode;
    const char* message;
  } cases[] = {
      {"apply-eq " + quoted(file) + " --channel 2 --from " + shelf + out, 10, "shelf.txt:3: shelf filters (LS) cannot be set"},
      {"apply-eq " + quoted(file) + " --channel 2 --from " + quoted(root / "none.txt") + out, 4, "none.txt"},
      {"apply-eq " + quoted(root / "missing.ryb") + " --channel 2 --from " + good + out, 4, "missing.ryb"},
      {"apply-eq " + quoted(root / "damaged.ryb") + " --channel 2 --from " + good + out, 6, "damaged.ryb"},
      {"apply-eq " + quoted(file) + " --channel 8 --from " + good + out, 2, "channel"},
      {"apply-eq " + quoted(file) + " --channel 2 --from " + good, 2, "--out OUT or --in-place"},
      {"apply-eq " + quoted(file) + " --channel 2 --from " + good + out + " --in-place", 2, "excludes"},
      {"apply-eq " + quoted(file) + " --channel 2 --from " + good + " --out ''", 7, "empty"},
      {"export-eq " + quoted(root / "missing.ryb") + " --channel 2", 4, "missing.ryb"},
      {"export-eq " + quoted(file) + " --channel -1", 2, "channel"},
  };
  for (const auto& c : cases) {
    const CtlRun run = ctl.run("preset " + c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    EXPECT_FALSE(fs::exists(root / "out.ryb")) << c.args;
  }
  EXPECT_EQ(test::fileText(file), before);
}

TEST_F(EqTextCtl, DeviceApplyIsConfirmedAndGetShowsTheNewBandWords) {
  const fs::path state = root / "amp.state";
  const std::string device = "device --simulate=" + quoted(state) + " ";
  const CtlRun applied = ctl.run(device + "apply-eq --channel 2 --from " + quoted(text("rew.txt", test::kIssueExample)));
  ASSERT_EQ(applied.exitCode, 0) << applied.err;
  EXPECT_NE(applied.err.find("band 2: 1250 Hz, +2.0 dB, Q 1.42 (panel Q 4.50)"), std::string::npos) << applied.err;
  EXPECT_NE(applied.err.find("max_deviation_db 0.257\n"), std::string::npos) << applied.err;

  const CtlRun bands = ctl.run(device + "get " + std::to_string(address(kBandFrequency)) + " 7");
  ASSERT_EQ(bands.exitCode, 0) << bands.err;
  const int first = address(kBandFrequency);
  const auto line = [](int a, int v) { return std::to_string(a) + " " + std::to_string(v) + "\n"; };
  EXPECT_EQ(bands.out, line(first, 0x8000 + 640) + line(first + 1, 448) + line(first + 2, encodeQ(12.7)) +
                           line(first + 3, 7) + line(first + 4, 1250) + line(first + 5, 520) +
                           line(first + 6, encodeQ(4.5)));
  const CtlRun strip = ctl.run(device + "get " + std::to_string(address(kHighPassCode)) + " 2");
  EXPECT_EQ(strip.out, line(address(kHighPassCode), 8) + line(address(kHighPassFrequency), 0x8000 + 800));
  EXPECT_EQ(ctl.run(device + "get " + std::to_string(channelGainRegister(kChannel))).out,
            line(channelGainRegister(kChannel), 595));

  // A refused text never reaches the amplifier.
  const fs::path fresh = root / "fresh.state";
  const CtlRun refused = ctl.run("device --simulate=" + quoted(fresh) + " apply-eq --channel 2 --from " +
                                 quoted(text("bad.txt", "Filter 1: ON PK Fc 1,5 kHz Gain -3 dB Q 2\n")));
  EXPECT_EQ(refused.exitCode, 10);
  EXPECT_NE(refused.err.find("bad.txt:1: '1,5' after Fc is not a number (decimals are written with '.')"),
            std::string::npos)
      << refused.err;
  EXPECT_FALSE(fs::exists(fresh));
}

}  // namespace
}  // namespace zr78
