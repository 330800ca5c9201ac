// The command line of zr78:
//   zr78                      the real amplifier
//   zr78 --simulate[=FILE]    the built-in virtual amplifier, its memory kept
//                             in FILE (default: defaultStatePath())
//   --screenshot FILE [--size WxH]
//                             start offscreen, wait until connected and the
//                             display is refreshed, save the window as PNG, exit
//   --scene strip|links|mixer with --screenshot: roles assigned and a link
//                             group, the link editor open, or the mixer open
//   --scene import --filters FILE
//                             with --screenshot: the preview of FILE's filter
//                             text imported onto CH1
//   --instance NAME           single-instance name (tests run side by side)
//   --fast-link               the short link timing of the tests
//   --version                 the program's version
//   --eq-mode geq|peq, --show-curves all|N[,N...]
//                             with --screenshot: the EQ panel in that mode and
//                             the other channels' curves shown (CH numbers)
//   --sim-faults FAULTS       faults of the virtual amplifier (sim/fault_list.h)
#pragma once

#include <QSize>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "presets/folders.h"
#include "sim/virtual_amplifier.h"

namespace zr78 {

struct AppOptions {
  bool simulate = false;
  std::string statePath;  // empty: the default state file
  sim::FaultConfig simFaults;  // --sim-faults: a bad cable rehearsed on the virtual amplifier
  std::string instanceName = "ZR-78";
  std::string channelLockName;  // empty: the USB channel's own lock
  bool fastLink = false;
  std::string screenshotPath;  // not empty: screenshot mode
  QSize size{1278, 718};
  std::string screenshotScene;  // empty: the window as it starts
  std::string screenshotFilters;  // --filters: the filter text of the import scene
  // Screenshot mode: how the EQ panel is shown.
  bool screenshotPeq = false;
  std::vector<int> screenshotCurves;  // channels 0..7 whose curves are shown
  bool help = false;
  bool version = false;  // --version: print the project version

  // Set by tests, not by the command line.
  std::optional<Folders> folders;
  std::optional<uint32_t> localeId;
  MixerTiming mixerTiming;
};

// Parses the arguments after the program name; an error text on failure.
std::optional<AppOptions> parseAppOptions(const QStringList& arguments, std::string& error);
std::string appUsage();

}  // namespace zr78
