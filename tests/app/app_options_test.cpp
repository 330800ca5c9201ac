#include "app/app_options.h"

#include <gtest/gtest.h>

namespace zr78 {
namespace {

TEST(AppOptionsTest, CommandLines) {
  struct Case {
    const char* name;
    QStringList arguments;
    bool valid;
    bool simulate;
    std::string statePath;
    std::string screenshot;
    QSize size;
  } cases[] = {
      {"real amplifier", {}, true, false, "", "", {1278, 718}},
      {"simulate, default file", {"--simulate"}, true, true, "", "", {1278, 718}},
      {"simulate with file", {"--simulate=/x/a.state"}, true, true, "/x/a.state", "", {1278, 718}},
      {"screenshot at 2x",
       {"--simulate", "--screenshot", "s.png", "--size", "2556x1436"},
       true,
       true,
       "",
       "s.png",
       {2556, 1436}},
      {"size without screenshot", {"--size", "100x100"}, false, false, "", "", {}},
      {"bad size", {"--screenshot", "s.png", "--size", "100"}, false, false, "", "", {}},
      {"missing value", {"--screenshot"}, false, false, "", "", {}},
      {"unknown", {"--simulated"}, false, false, "", "", {}},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto o = parseAppOptions(c.arguments, error);
    ASSERT_EQ(o.has_value(), c.valid) << c.name << ": " << error;
    if (!o) {
      EXPECT_FALSE(error.empty()) << c.name;
      continue;
    }
    EXPECT_EQ(o->simulate, c.simulate) << c.name;
    EXPECT_EQ(o->statePath, c.statePath) << c.name;
    EXPECT_EQ(o->screenshotPath, c.screenshot) << c.name;
    EXPECT_EQ(o->size, c.size) << c.name;
  }
  std::string error;
  const auto named = parseAppOptions({"--instance", "x", "--fast-link"}, error);
  ASSERT_TRUE(named);
  EXPECT_EQ(named->instanceName, "x");
  EXPECT_TRUE(named->fastLink);
}

TEST(AppOptionsTest, SimulatorFaults) {
  std::string error;
  for (const QStringList& arguments : {QStringList{"--simulate", "--sim-faults", "loss=0.05,stall"},
                                       QStringList{"--sim-faults=loss=0.05,stall", "--simulate"}}) {
    const auto o = parseAppOptions(arguments, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->simFaults.lossRate, 0.05);
    EXPECT_TRUE(o->simFaults.stall);
  }
  EXPECT_FALSE(parseAppOptions({"--sim-faults", "loss=0.05"}, error)) << "only with --simulate";
  EXPECT_FALSE(parseAppOptions({"--simulate", "--sim-faults", "loss=7"}, error));
  EXPECT_NE(error.find("loss=7"), std::string::npos) << error;
  EXPECT_FALSE(parseAppOptions({"--simulate", "--sim-faults"}, error)) << "a value is needed";
  EXPECT_NE(appUsage().find("--sim-faults FAULTS"), std::string::npos);
}

// The channel-side pictures: a named scene, only with a screenshot.
TEST(AppOptionsTest, ScreenshotScenes) {
  std::string error;
  const auto links = parseAppOptions({"--screenshot", "s.png", "--scene", "links"}, error);
  ASSERT_TRUE(links) << error;
  EXPECT_EQ(links->screenshotScene, "links");
  EXPECT_FALSE(parseAppOptions({"--screenshot", "s.png", "--scene", "eq"}, error));
  EXPECT_FALSE(parseAppOptions({"--scene", "mixer"}, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace zr78
