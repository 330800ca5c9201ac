// `zr78ctl device ...`: the sync worker without a window, on the real
// amplifier or (--simulate) on the virtual one. A file name given to save or
// load goes where the window's save puts it and is found as its load finds it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
#include "sim/fault_list.h"
#include "text/language.h"
#include "text/shared_texts.h"

namespace zr78 {
namespace {

using TimeoutClock = std::chrono::steady_clock;  // the command's own timeouts

constexpr int kConnectTimeoutS = 6;  // to the handshake's end; a real amplifier needs about 1 s
constexpr int kReadyTimeoutS = 60;   // then to the end of the full read
constexpr int kOperationTimeoutS = 120;
constexpr int kConfirmTimeoutS = 8;  // echo and read-back of `set`
constexpr int kReadBackWaitMs = 1000;
constexpr int kReadRounds = 3;       // `get` asks again for what the full read missed
// After the echoes, the worker's pass that follows may still report reads
// answered while the values were pending; a read-back counts only after it.
constexpr int kSettleMs = 100;

struct DeviceOptions {
  std::vector<std::string> simulate;  // empty: real amplifier; one value: state file
  bool simulateSet = false;
  std::string faultList;  // --sim-faults
  sim::FaultConfig faults;
  std::string file;
  int address = 0;
  int count = 1;
  std::vector<int> values;
  int mode = 0;
  std::string name;
};

template <typename Done>
bool waitUntil(TimeoutClock::time_point end, Done done) {
  while (!done()) {
    if (TimeoutClock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

template <typename Done>
bool waitFor(int seconds, Done done) {
  return waitUntil(TimeoutClock::now() + std::chrono::seconds(seconds), done);
}

ExitCode keepState(const Amplifier& amplifier, ExitCode code) {
  if (const std::string failed = amplifier.saveState(); !failed.empty()) {
    std::fprintf(stderr, "error: %s\n", failed.c_str());
    if (code == ExitCode::Ok) code = ExitCode::Failed;  // what was done is not kept
  }
  return code;
}

// Runs `body` on a connected, fully read link, then keeps the virtual
// amplifier's memory; returns the exit code.
template <typename Body>
ExitCode withLink(const DeviceOptions& o, const Folders& folders, Body body) {
  const AmplifierChoice choice{o.simulateSet, o.simulate.empty() ? std::filesystem::path()
                                                                 : pathFromUtf8(o.simulate.front())};
  Amplifier amplifier(choice, folders, o.faults);
  if (!amplifier.warning().empty()) std::fprintf(stderr, "zr78ctl: %s\n", amplifier.warning().c_str());
  ExitCode code = ExitCode::Ok;
  {
    ConsoleEvents events;
    LanguageIndex language(Language::kEnglish);
    LinkSession session(amplifier.device(), events, LinkTiming::usb(), folders, language);
    if (const std::string lock = amplifier.channelLockName(); !lock.empty()) session.link.setChannelLockName(lock);
    session.worker.startLink();
    const auto connected = [&] { return events.linkStatus() == static_cast<int>(LinkStatus::Connected); };
    if (!waitFor(kConnectTimeoutS, connected)) {
      std::fprintf(stderr, "error: no amplifier answered within %d s\n", kConnectTimeoutS);
      code = ExitCode::NoAmplifier;
    } else if (!waitFor(kReadyTimeoutS, [&] { return session.worker.synchronising(); })) {
      std::fprintf(stderr, "error: the amplifier was not read within %d s\n", kReadyTimeoutS);
      code = ExitCode::NoAmplifier;
    } else {
      code = body(session, events);
    }
    if (!session.worker.stopLink()) {
      // The worker is held inside the device (a write that never returns):
      // keep the virtual amplifier's memory and end without destroying what
      // that thread still uses.
      std::fprintf(stderr, "error: the amplifier stopped answering in the middle of a transfer\n");
      code = keepState(amplifier, code == ExitCode::Ok ? ExitCode::Failed : code);
      std::fflush(nullptr);
      std::_Exit(static_cast<int>(code));
    }
  }
  return keepState(amplifier, code);
}

// Starts an operation (`raise` raises its slot) and waits for it.
template <typename Raise>
ExitCode runOperation(LinkSession& s, int slot, Raise raise) {
  const uint32_t before = s.worker.requestsCompleted();
  raise();
  if (!waitFor(kOperationTimeoutS, [&] { return s.worker.requestsCompleted() != before; })) {
    std::fprintf(stderr, "error: the operation did not end within %d s\n", kOperationTimeoutS);
    return ExitCode::Timeout;
  }
  return s.worker.lastRequestSucceeded(slot) ? ExitCode::Ok : ExitCode::Failed;
}

ExitCode runSlot(LinkSession& s, int slot) {
  return runOperation(s, slot, [&] { s.worker.raiseRequest(slot); });
}

std::string addressList(const std::vector<int>& addresses) {
  std::string list;
  for (int a : addresses) list += (list.empty() ? "" : ", ") + std::to_string(a);
  return list;
}

// Reports the edits the worker gave up among those `mine` selects.
template <typename Mine>
bool reportGivenUp(ConsoleEvents& events, Mine isMine) {
  std::vector<int> mine;
  for (int a : events.takeGivenUp())
    if (isMine(a)) mine.push_back(a);
  if (mine.empty()) return false;
  std::fprintf(stderr, "error: the amplifier did not acknowledge register%s %s\n", mine.size() > 1 ? "s" : "",
               addressList(mine).c_str());
  return true;
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

// Prints what the amplifier holds; a register its reads never delivered is
// an error, not a default.
ExitCode get(LinkSession& s, ConsoleEvents& events, const DeviceOptions& o) {
  const auto missing = [&] {
    std::vector<int> addresses;
    for (int a = o.address; a < o.address + o.count; ++a)
      if (!events.received(a)) addresses.push_back(a);
    return addresses;
  };
  for (int round = 0; round < kReadRounds && !missing().empty(); ++round) {
    for (int a : missing()) s.table.requestReread(a, a);
    waitUntil(TimeoutClock::now() + std::chrono::milliseconds(kReadBackWaitMs), [&] { return missing().empty(); });
  }
  for (int a = o.address; a < o.address + o.count; ++a)
    if (events.received(a)) std::printf("%d %d\n", a, s.table.getRegister(a));
  const std::vector<int> lost = missing();
  if (lost.empty()) return ExitCode::Ok;
  std::fprintf(stderr, "error: the amplifier did not deliver register%s %s\n", lost.size() > 1 ? "s" : "",
               addressList(lost).c_str());
  return ExitCode::Failed;
}

// Writes consecutive registers, confirmed as every write of a device command.
ExitCode set(LinkSession& s, ConsoleEvents& events, const DeviceOptions& o) {
  std::vector<std::pair<int, int32_t>> writes;
  for (size_t i = 0; i < o.values.size(); ++i) writes.emplace_back(o.address + static_cast<int>(i), o.values[i]);
  return writeRegistersConfirmed(s, events, writes);
}

ExitCode recall(LinkSession& s, const DeviceOptions& o) {
  return runOperation(s, kSlotRecallMode, [&] { s.worker.requestRecall(o.mode); });
}

ExitCode name(LinkSession& s, const DeviceOptions& o) {
  return runOperation(s, kSlotWriteModeName, [&] { s.worker.requestStore(o.mode, o.name.substr(0, 24)); });
}

// Writes a preset file into the amplifier; the registers it gave up are
// listed and fail the command.
ExitCode loadFile(LinkSession& s, ConsoleEvents& events, const DeviceOptions& o) {
  s.worker.setTransferFilePath(o.file);
  const ExitCode code = runSlot(s, kSlotWriteFile);
  if (reportGivenUp(events, [](int) { return true; })) return ExitCode::Failed;
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
  device->add_option("--sim-faults", o->faultList,
                     "With --simulate: faults of the virtual amplifier, to rehearse a bad cable; items "
                     "separated by commas, for example loss=0.05,corrupt=0.01,delay-ms=0..300,seed=7:\n" +
                         sim::faultListHelp("    "))
      ->option_text("FAULTS");
  const Folders& folders = context.folders;

  // Runs the checks in order, then (when all pass) `body` on the link.
  auto command = [o, device, &context, &folders](auto body, std::vector<Check> checks = {}) {
    return [o, device, &context, &folders, body, checks] {
      if (device->count("--simulate") > 0) o->simulateSet = true;
      if (device->count("--sim-faults") > 0) {
        std::string error;
        const auto faults = sim::parseFaultList(o->faultList, error);
        if (!faults || !o->simulateSet) {
          std::fprintf(stderr, "error: %s\n", faults ? "--sim-faults is used with --simulate" : error.c_str());
          context.exitCode = ExitCode::Usage;
          return;
        }
        o->faults = *faults;
      }
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
      [o](LinkSession& s, ConsoleEvents& e) { return loadFile(s, e, *o); },
      {[o, &folders] { return checkLoadFile(o->file, folders); }}));

  auto* get_ = device->add_subcommand("get", "Print registers as ADDR VALUE lines");
  get_->add_option("ADDR", o->address)->required();
  get_->add_option("COUNT", o->count);
  get_->callback(command([o](LinkSession& s, ConsoleEvents& e) { return get(s, e, *o); },
                         {[o] { return checkRange(o->address, o->count); }}));

  auto* set_ = device->add_subcommand("set", "Write registers ADDR, ADDR+1, ... and confirm them by a read-back");
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

// ---- register writes, confirmed --------------------------------------------------
// Succeeds only once the amplifier has echoed every value and a fresh read of
// each gives it back; an edit the worker gave up fails at once.
ExitCode writeRegistersConfirmed(LinkSession& s, ConsoleEvents& events,
                                 const std::vector<std::pair<int, int32_t>>& writes) {
  for (const auto& [address, value] : writes) s.table.setRegister(address, value);
  const auto end = TimeoutClock::now() + std::chrono::seconds(kConfirmTimeoutS);
  std::vector<std::pair<int, int32_t>> unconfirmed = writes;
  while (!unconfirmed.empty()) {
    const bool echoed = waitUntil(end, [&] {
      for (const auto& write : unconfirmed)
        if (s.table.dirty(write.first)) return false;
      return true;
    });
    // A record is also clean when it was given up.
    const auto written = [&](int a) {
      return std::any_of(writes.begin(), writes.end(), [a](const auto& write) { return write.first == a; });
    };
    if (reportGivenUp(events, written)) return ExitCode::Failed;
    if (!echoed) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(kSettleMs));
    for (const auto& write : unconfirmed) {
      events.takeNotified(write.first);
      s.table.requestReread(write.first, write.first);
    }
    std::vector<bool> read(unconfirmed.size(), false);
    waitUntil(std::min(end, TimeoutClock::now() + std::chrono::milliseconds(kReadBackWaitMs)), [&] {
      bool all = true;
      for (size_t k = 0; k < unconfirmed.size(); ++k) {
        if (!read[k]) read[k] = events.takeNotified(unconfirmed[k].first);
        all = all && read[k];
      }
      return all;
    });
    std::vector<std::pair<int, int32_t>> left;
    for (size_t k = 0; k < unconfirmed.size(); ++k) {
      const auto [address, wanted] = unconfirmed[k];
      if (!read[k] || s.table.dirty(address)) {
        left.push_back(unconfirmed[k]);  // not read back yet, or being sent again
      } else if (s.table.getRegister(address) != wanted) {
        std::fprintf(stderr, "error: register %d reads %d, not %d\n", address, s.table.getRegister(address), wanted);
        return ExitCode::Failed;
      }
    }
    unconfirmed = left;
    if (TimeoutClock::now() >= end) break;
  }
  if (unconfirmed.empty()) return ExitCode::Ok;
  std::vector<int> addresses;
  for (const auto& write : unconfirmed) addresses.push_back(write.first);
  std::fprintf(stderr, "error: the amplifier did not confirm register%s %s within %d s\n",
               addresses.size() > 1 ? "s" : "", addressList(addresses).c_str(), kConfirmTimeoutS);
  return ExitCode::Failed;
}

}  // namespace zr78
