// `zr78ctl device ...`: the sync worker without a window, on the real
// amplifier or (--simulate) on the virtual one.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ctl/ctl_command.h"
#include "ctl/console_events.h"
#include "hid/hidapi_device.h"
#include "sync/link_session.h"
#include "sim/sim_state.h"
#include "sim/virtual_amplifier.h"
#include "text/language.h"
#include "text/shared_texts.h"

namespace zr78 {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kReadyTimeoutS = 60;
constexpr int kOperationTimeoutS = 120;
constexpr int kEchoTimeoutS = 10;
constexpr int kNameRequestPauseMs = 200;

struct DeviceOptions {
  std::vector<std::string> simulate;  // empty: real amplifier; one value: state file
  bool simulateSet = false;
  std::string file;
  int address = 0;
  int count = 1;
  std::vector<int> values;
  int mode = 0;
  std::string name;
};

// The device the command runs on, and where the virtual one keeps its memory.
struct Device {
  std::unique_ptr<HidapiDevice> real;
  std::unique_ptr<sim::VirtualAmplifier> virtualAmp;
  std::filesystem::path statePath;

  HidDevice& hid() { return real ? static_cast<HidDevice&>(*real) : virtualAmp->hidDevice(); }
  ~Device() {
    if (!virtualAmp || statePath.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(statePath.parent_path(), ec);
    if (!virtualAmp->saveState(statePath.string()))
      std::fprintf(stderr, "cannot save the virtual amplifier's state to %s\n", statePath.string().c_str());
  }
};

std::unique_ptr<Device> openDevice(const DeviceOptions& o) {
  auto d = std::make_unique<Device>();
  if (!o.simulateSet) {
    d->real = std::make_unique<HidapiDevice>();
    return d;
  }
  d->virtualAmp = std::make_unique<sim::VirtualAmplifier>();
  d->statePath = o.simulate.empty() || o.simulate.front().empty()
                     ? sim::defaultStatePath()
                     : std::filesystem::path(o.simulate.front());
  std::error_code ec;
  if (std::filesystem::exists(d->statePath, ec) && !d->virtualAmp->loadState(d->statePath.string()))
    std::fprintf(stderr, "the virtual amplifier's state file %s is damaged; starting from defaults\n",
                 d->statePath.string().c_str());
  return d;
}

template <typename Done>
bool waitFor(int seconds, Done done) {
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Runs `body` on a connected, fully read link; returns the exit code.
template <typename Body>
int withLink(const DeviceOptions& o, Body body) {
  auto device = openDevice(o);
  ConsoleEvents events;
  LanguageIndex language(Language::kEnglish);
  LinkSession session(device->hid(), events, LinkTiming::usb(),
                      Folders::forRunningProgram(), language);
  if (device->virtualAmp) session.link.setChannelLockName(sim::simulatorLockName(device->statePath));
  session.worker.startLink();
  if (!waitFor(kReadyTimeoutS, [&] { return session.worker.synchronising(); })) {
    std::fprintf(stderr, "error: no amplifier answered within %d s\n", kReadyTimeoutS);
    return 3;
  }
  const int code = body(session, events);
  session.worker.stopLink();
  return code;
}

// Raises a slot and waits for its operation; 0 when it succeeded.
int runSlot(LinkSession& s, int slot) {
  const uint32_t before = s.worker.requestsCompleted();
  s.worker.raiseRequest(slot);
  if (!waitFor(kOperationTimeoutS, [&] { return s.worker.requestsCompleted() != before; })) {
    std::fprintf(stderr, "error: the operation did not end within %d s\n", kOperationTimeoutS);
    return 3;
  }
  return s.worker.lastRequestSucceeded(slot) ? 0 : 1;
}

int info(LinkSession& s, ConsoleEvents&) {
  std::printf("device id: %d\n", s.state.deviceId.load());
  const int active = s.table.getRegister(kActiveModeRegister);
  std::printf("active mode: %d%s\n", active, s.state.modeLocked.load() ? " (locked)" : "");
  for (int m = 1; m <= kModeCount; ++m)
    std::printf("mode %d: %s\n", m, s.state.modeNames[m - 1].toString().c_str());
  return 0;
}

// Argument checks run before connecting; 0 when the arguments are usable.
int checkRange(int address, int count) {
  if (count < 1 || address < 0 || address + count > kRegisterCount) {
    std::fprintf(stderr, "error: addresses must lie within 0..%d\n", kRegisterCount - 1);
    return 2;
  }
  return 0;
}

int checkValues(const std::vector<int>& values) {
  for (int v : values)
    if (v < 0 || v > 0xFFFF) {
      std::fprintf(stderr, "error: values must lie within 0..65535\n");
      return 2;
    }
  return 0;
}

int checkMode(int mode) {
  if (mode < 1 || mode > kModeCount) {
    std::fprintf(stderr, "error: modes are numbered 1..%d\n", kModeCount);
    return 2;
  }
  return 0;
}

int checkName(const std::string& name) {
  for (unsigned char c : name.substr(0, 24))
    if (c < 0x20 || c > 0x80) {
      std::fprintf(stderr, "error: %s\n", std::string(sharedText(kTextNameNotSupported, Language::kEnglish)).c_str());
      return 2;
    }
  return 0;
}

int get(LinkSession& s, const DeviceOptions& o) {
  for (int a = o.address; a < o.address + o.count; ++a) std::printf("%d %d\n", a, s.table.getRegister(a));
  return 0;
}

// Writes consecutive registers and returns once the amplifier has echoed every
// value and a fresh read confirms it.
int set(LinkSession& s, ConsoleEvents& events, const DeviceOptions& o) {
  const int n = static_cast<int>(o.values.size());
  for (int i = 0; i < n; ++i) s.table.setRegister(o.address + i, o.values[i]);
  const auto allClean = [&] {
    for (int i = 0; i < n; ++i)
      if (s.table.dirty(o.address + i)) return false;
    return true;
  };
  if (!waitFor(kEchoTimeoutS, allClean)) {
    std::fprintf(stderr, "error: the amplifier did not acknowledge the values\n");
    return 1;
  }
  // A record is also cleaned when it is given up: confirm by reading back.
  for (int i = 0; i < n; ++i) events.takeNotified(o.address + i);
  s.table.requestReread(o.address, o.address + n - 1);
  const auto allRead = [&] {
    for (int i = 0; i < n; ++i)
      if (!events.takeNotified(o.address + i) && s.table.rereadRequested(o.address + i)) return false;
    return true;
  };
  waitFor(kEchoTimeoutS, allRead);
  for (int i = 0; i < n; ++i) {
    if (s.table.getRegister(o.address + i) != o.values[i]) {
      std::fprintf(stderr, "error: register %d reads %d, not %d\n", o.address + i,
                   s.table.getRegister(o.address + i), o.values[i]);
      return 1;
    }
  }
  return 0;
}

int recall(LinkSession& s, const DeviceOptions& o) {
  s.table.setRegister(kModeCommandRegister, 0x0600 + o.mode);
  return runSlot(s, kSlotRecallMode);
}

int name(LinkSession& s, const DeviceOptions& o) {
  std::string text = o.name.substr(0, 24);
  text.resize(kModeNameUnits, ' ');
  s.table.setRegisterQuiet(kModeCommandRegister, 0x0700 + o.mode);
  s.state.modeNameBuffer.assign(text);
  const int code = runSlot(s, kSlotWriteModeName);
  std::this_thread::sleep_for(std::chrono::milliseconds(kNameRequestPauseMs));
  s.table.setRegister(kModeCommandRegister, 0x0500 + o.mode);
  return code;
}

void setupDevice(CLI::App& root, int& exitCode) {
  auto* device = root.add_subcommand("device", "Talk to the amplifier (or the virtual one)");
  device->require_subcommand(1);
  auto o = std::make_shared<DeviceOptions>();
  device->add_option("--simulate", o->simulate,
                     "Use the virtual amplifier; its memory is kept in FILE (default: the per-user data folder)")
      ->expected(0, 1);

  auto finish = [o, device](auto run) {
    return [o, device, run]() {
      if (device->count("--simulate") > 0) o->simulateSet = true;
      return run();
    };
  };

  auto* info_ = device->add_subcommand("info", "Identity, active mode and mode names");
  info_->callback(finish([o, &exitCode] { exitCode = withLink(*o, [](auto& s, auto& e) { return info(s, e); }); return 0; }));

  auto* save = device->add_subcommand("save", "Save the amplifier's registers to a preset file");
  save->add_option("FILE", o->file)->required();
  save->callback(finish([o, &exitCode] {
    exitCode = withLink(*o, [o](LinkSession& s, ConsoleEvents&) {
      s.worker.setTransferFilePath(std::filesystem::absolute(o->file).string());
      return runSlot(s, kSlotSaveToFile);
    });
    return 0;
  }));

  auto* load = device->add_subcommand("load", "Write a preset file into the amplifier");
  load->add_option("FILE", o->file)->required();
  load->callback(finish([o, &exitCode] {
    exitCode = withLink(*o, [o](LinkSession& s, ConsoleEvents&) {
      s.worker.setTransferFilePath(o->file);
      return runSlot(s, kSlotWriteFile);
    });
    return 0;
  }));

  auto* get_ = device->add_subcommand("get", "Print registers as ADDR VALUE lines");
  get_->add_option("ADDR", o->address)->required();
  get_->add_option("COUNT", o->count);
  get_->callback(finish([o, &exitCode] {
    exitCode = checkRange(o->address, o->count);
    if (exitCode == 0) exitCode = withLink(*o, [o](LinkSession& s, ConsoleEvents&) { return get(s, *o); });
    return 0;
  }));

  auto* set_ = device->add_subcommand("set", "Write registers ADDR, ADDR+1, ... and wait for the echo");
  set_->add_option("ADDR", o->address)->required();
  set_->add_option("VALUE", o->values)->required();
  set_->callback(finish([o, &exitCode] {
    exitCode = checkRange(o->address, static_cast<int>(o->values.size()));
    if (exitCode == 0) exitCode = checkValues(o->values);
    if (exitCode == 0) exitCode = withLink(*o, [o](LinkSession& s, ConsoleEvents& e) { return set(s, e, *o); });
    return 0;
  }));

  auto* recall_ = device->add_subcommand("recall", "Recall device mode N (1..6)");
  recall_->add_option("N", o->mode)->required();
  recall_->callback(finish([o, &exitCode] {
    exitCode = checkMode(o->mode);
    if (exitCode == 0) exitCode = withLink(*o, [o](LinkSession& s, ConsoleEvents&) { return recall(s, *o); });
    return 0;
  }));

  auto* name_ = device->add_subcommand("name", "Store the working tuning as mode N named TEXT");
  name_->add_option("N", o->mode)->required();
  name_->add_option("TEXT", o->name)->required();
  name_->callback(finish([o, &exitCode] {
    exitCode = checkMode(o->mode);
    if (exitCode == 0) exitCode = checkName(o->name);
    if (exitCode == 0) exitCode = withLink(*o, [o](LinkSession& s, ConsoleEvents&) { return name(s, *o); });
    return 0;
  }));
}

ZR78_CTL_COMMAND(setupDevice);

}  // namespace
}  // namespace zr78
