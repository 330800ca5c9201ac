// `zr78ctl device ...`: the sync worker without a window, on the real
// amplifier or (--simulate) on the virtual one. A file name given to save or
// load goes where the window's save puts it and is found as its load finds it.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ctl/ctl_commands.h"
#include "ctl/console_events.h"
#include "device/amplifier.h"
#include "sync/link_session.h"
#include "presets/preset_file.h"
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

template <typename Done>
bool waitFor(int seconds, Done done) {
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Runs `body` on a connected, fully read link, then keeps the virtual
// amplifier's memory; returns the exit code.
template <typename Body>
ExitCode withLink(const DeviceOptions& o, const Folders& folders, Body body) {
  const AmplifierChoice choice{o.simulateSet, o.simulate.empty() ? std::filesystem::path()
                                                                 : pathFromUtf8(o.simulate.front())};
  Amplifier amplifier(choice, folders);
  if (!amplifier.warning().empty()) std::fprintf(stderr, "zr78ctl: %s\n", amplifier.warning().c_str());
  ExitCode code = ExitCode::Ok;
  {
    ConsoleEvents events;
    LanguageIndex language(Language::kEnglish);
    LinkSession session(amplifier.device(), events, LinkTiming::usb(), folders, language);
    if (const std::string lock = amplifier.channelLockName(); !lock.empty()) session.link.setChannelLockName(lock);
    session.worker.startLink();
    if (waitFor(kReadyTimeoutS, [&] { return session.worker.synchronising(); })) {
      code = body(session, events);
    } else {
      std::fprintf(stderr, "error: no amplifier answered within %d s\n", kReadyTimeoutS);
      code = ExitCode::NoAmplifier;
    }
    session.worker.stopLink();
  }
  if (const std::string failed = amplifier.saveState(); !failed.empty()) {
    std::fprintf(stderr, "error: %s\n", failed.c_str());
    if (code == ExitCode::Ok) code = ExitCode::Failed;  // what was done is not kept
  }
  return code;
}

// Raises a slot and waits for its operation.
ExitCode runSlot(LinkSession& s, int slot) {
  const uint32_t before = s.worker.requestsCompleted();
  s.worker.raiseRequest(slot);
  if (!waitFor(kOperationTimeoutS, [&] { return s.worker.requestsCompleted() != before; })) {
    std::fprintf(stderr, "error: the operation did not end within %d s\n", kOperationTimeoutS);
    return ExitCode::Timeout;
  }
  return s.worker.lastRequestSucceeded(slot) ? ExitCode::Ok : ExitCode::Failed;
}

ExitCode info(LinkSession& s, ConsoleEvents&) {
  std::printf("device id: %d\n", s.state.deviceId.load());
  const int active = s.table.getRegister(kActiveModeRegister);
  std::printf("active mode: %d%s\n", active, s.state.modeLocked.load() ? " (locked)" : "");
  for (int m = 1; m <= kModeCount; ++m)
    std::printf("mode %d: %s\n", m, s.state.modeNames[m - 1].toString().c_str());
  return ExitCode::Ok;
}

// Argument checks run before connecting; Ok when the arguments are usable.
ExitCode checkRange(int address, int count) {
  if (count < 1 || address < 0 || address + count > kRegisterCount) {
    std::fprintf(stderr, "error: addresses must lie within 0..%d\n", kRegisterCount - 1);
    return ExitCode::Usage;
  }
  return ExitCode::Ok;
}

ExitCode checkValues(const std::vector<int>& values) {
  for (int v : values)
    if (v < 0 || v > 0xFFFF) {
      std::fprintf(stderr, "error: values must lie within 0..65535\n");
      return ExitCode::Usage;
    }
  return ExitCode::Ok;
}

ExitCode checkMode(int mode) {
  if (mode < 1 || mode > kModeCount) {
    std::fprintf(stderr, "error: modes are numbered 1..%d\n", kModeCount);
    return ExitCode::Usage;
  }
  return ExitCode::Ok;
}

ExitCode checkName(const std::string& name) {
  for (unsigned char c : name.substr(0, 24))
    if (c < 0x20 || c > 0x80) {
      std::fprintf(stderr, "error: %s\n", std::string(sharedText(kTextNameNotSupported, Language::kEnglish)).c_str());
      return ExitCode::Usage;
    }
  return ExitCode::Ok;
}

// The file a save writes: only its name can be checked before the amplifier
// has been read.
ExitCode checkSaveName(const std::string& name) {
  if (!name.empty()) return ExitCode::Ok;
  std::fprintf(stderr, "error: %s\n", std::string(fileResultMeaning(FileResult::EmptyName)).c_str());
  return ExitCode::EmptyName;
}

// The file a load writes into the amplifier, read as the worker will read it,
// so that a missing or damaged file has its own exit code.
ExitCode checkLoadFile(const std::string& name, const Folders& folders) {
  PresetFile file(folders);
  const FileResult result = file.load(name);
  if (result == FileResult::Ok) return ExitCode::Ok;
  std::fprintf(stderr, "error: %s: %s\n", name.c_str(), std::string(fileResultMeaning(result)).c_str());
  return exitCodeFor(result);
}

ExitCode get(LinkSession& s, const DeviceOptions& o) {
  for (int a = o.address; a < o.address + o.count; ++a) std::printf("%d %d\n", a, s.table.getRegister(a));
  return ExitCode::Ok;
}

// Writes consecutive registers and returns once the amplifier has echoed every
// value and a fresh read confirms it.
ExitCode set(LinkSession& s, ConsoleEvents& events, const DeviceOptions& o) {
  const int n = static_cast<int>(o.values.size());
  for (int i = 0; i < n; ++i) s.table.setRegister(o.address + i, o.values[i]);
  const auto allClean = [&] {
    for (int i = 0; i < n; ++i)
      if (s.table.dirty(o.address + i)) return false;
    return true;
  };
  if (!waitFor(kEchoTimeoutS, allClean)) {
    std::fprintf(stderr, "error: the amplifier did not acknowledge the values\n");
    return ExitCode::Failed;
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
      return ExitCode::Failed;
    }
  }
  return ExitCode::Ok;
}

ExitCode recall(LinkSession& s, const DeviceOptions& o) {
  s.table.setRegister(kModeCommandRegister, modeCommandWord(ModeOperation::Recall, o.mode));
  return runSlot(s, kSlotRecallMode);
}

ExitCode name(LinkSession& s, const DeviceOptions& o) {
  std::string text = o.name.substr(0, 24);
  text.resize(kModeNameUnits, ' ');
  s.table.setRegisterQuiet(kModeCommandRegister, modeCommandWord(ModeOperation::Store, o.mode));
  s.state.modeNameBuffer.assign(text);
  const ExitCode code = runSlot(s, kSlotWriteModeName);
  std::this_thread::sleep_for(std::chrono::milliseconds(kNameRequestPauseMs));
  s.table.setRegister(kModeCommandRegister, modeCommandWord(ModeOperation::ReadName, o.mode));
  return code;
}

// An argument check that runs before connecting.
using Check = std::function<ExitCode()>;

}  // namespace

void addDeviceCommand(CLI::App& root, CtlContext& context) {
  auto* device = root.add_subcommand("device", "Talk to the amplifier (or the virtual one)");
  device->require_subcommand(1);
  auto o = std::make_shared<DeviceOptions>();
  device->add_option("--simulate", o->simulate,
                     "Use the virtual amplifier; its memory is kept in FILE (default: the per-user data folder)")
      ->expected(0, 1);
  const Folders& folders = context.folders;

  // Runs the checks in order, then (when all pass) `body` on the link.
  auto command = [o, device, &context, &folders](auto body, std::vector<Check> checks = {}) {
    return [o, device, &context, &folders, body, checks] {
      if (device->count("--simulate") > 0) o->simulateSet = true;
      for (const Check& check : checks)
        if ((context.exitCode = check()) != ExitCode::Ok) return;
      context.exitCode = withLink(*o, folders, body);
    };
  };

  auto* info_ = device->add_subcommand("info", "Identity, active mode and mode names");
  info_->callback(command([](LinkSession& s, ConsoleEvents& e) { return info(s, e); }));

  auto* save = device->add_subcommand("save", "Save the amplifier's registers to a preset file");
  save->add_option("FILE", o->file, "a name (saved in the preset folder, as the window saves) or a path")->required();
  save->callback(command(
      [o](LinkSession& s, ConsoleEvents&) {
        s.worker.setTransferFilePath(o->file);
        return runSlot(s, kSlotSaveToFile);
      },
      {[o] { return checkSaveName(o->file); }}));

  auto* load = device->add_subcommand("load", "Write a preset file into the amplifier");
  load->add_option("FILE", o->file, "a path, or a name found as the window loads it")->required();
  load->callback(command(
      [o](LinkSession& s, ConsoleEvents&) {
        s.worker.setTransferFilePath(o->file);
        return runSlot(s, kSlotWriteFile);
      },
      {[o, &folders] { return checkLoadFile(o->file, folders); }}));

  auto* get_ = device->add_subcommand("get", "Print registers as ADDR VALUE lines");
  get_->add_option("ADDR", o->address)->required();
  get_->add_option("COUNT", o->count);
  get_->callback(command([o](LinkSession& s, ConsoleEvents&) { return get(s, *o); },
                         {[o] { return checkRange(o->address, o->count); }}));

  auto* set_ = device->add_subcommand("set", "Write registers ADDR, ADDR+1, ... and wait for the echo");
  set_->add_option("ADDR", o->address)->required();
  set_->add_option("VALUE", o->values)->required();
  set_->callback(command([o](LinkSession& s, ConsoleEvents& e) { return set(s, e, *o); },
                         {[o] { return checkRange(o->address, static_cast<int>(o->values.size())); },
                          [o] { return checkValues(o->values); }}));

  auto* recall_ = device->add_subcommand("recall", "Recall device mode N (1..6)");
  recall_->add_option("N", o->mode)->required();
  recall_->callback(command([o](LinkSession& s, ConsoleEvents&) { return recall(s, *o); },
                            {[o] { return checkMode(o->mode); }}));

  auto* name_ = device->add_subcommand("name", "Store the working tuning as mode N named TEXT");
  name_->add_option("N", o->mode)->required();
  name_->add_option("TEXT", o->name)->required();
  name_->callback(command([o](LinkSession& s, ConsoleEvents&) { return name(s, *o); },
                          {[o] { return checkMode(o->mode); }, [o] { return checkName(o->name); }}));

  // ---- device subcommands of other files (apply-eq) run on this link --------
  context.runOnDevice = [o, device, &folders](const DeviceLinkBody& body) {
    if (device->count("--simulate") > 0) o->simulateSet = true;
    return withLink(*o, folders, body);
  };
}

// ---- register writes at any addresses, confirmed as `set` confirms -----------
ExitCode writeRegistersConfirmed(LinkSession& s, ConsoleEvents& events,
                                 const std::vector<std::pair<int, int32_t>>& writes) {
  for (const auto& [address, value] : writes) s.table.setRegister(address, value);
  const auto allClean = [&] {
    for (const auto& write : writes)
      if (s.table.dirty(write.first)) return false;
    return true;
  };
  if (!waitFor(kEchoTimeoutS, allClean)) {
    std::fprintf(stderr, "error: the amplifier did not acknowledge the values\n");
    return ExitCode::Failed;
  }
  // A record is also cleaned when it is given up: confirm by reading back.
  for (const auto& write : writes) {
    events.takeNotified(write.first);
    s.table.requestReread(write.first, write.first);
  }
  const auto allRead = [&] {
    for (const auto& write : writes)
      if (!events.takeNotified(write.first) && s.table.rereadRequested(write.first)) return false;
    return true;
  };
  waitFor(kEchoTimeoutS, allRead);
  for (const auto& [address, value] : writes) {
    if (s.table.getRegister(address) != value) {
      std::fprintf(stderr, "error: register %d reads %d, not %d\n", address, s.table.getRegister(address), value);
      return ExitCode::Failed;
    }
  }
  return ExitCode::Ok;
}

}  // namespace zr78
