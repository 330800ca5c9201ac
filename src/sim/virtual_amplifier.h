// The virtual amplifier: the amplifier's side of the protocol behind the
// HidDevice seam. It stands in for the real amplifier in the tests, in the
// benchmarks and for `--simulate`, so it is written with the same care as
// the rest of the product.
//
// What it does: registers with the default image, write echoes (command 3),
// read replies with one command-6 entry per register, the streamed dump after
// command 240, identity replies (device id; mode protection with
// maxModeIndex and modeLockMask), mode recall (command 1) and mode names
// (commands 4 and 16) over six stored modes, register 1243 written as
// 0x0600 + m (recall) or 0x0700 + m (store the working registers into mode m),
// and the read-only configuration word 1248.
//
// Faults: lost, corrupted and delayed reports, unplug and replug, a device
// that never answers. Link model: optionally one report per interval in each
// direction (USB full-speed interrupt endpoint: 1 ms).
//
// Threads: the host's reader calls readReport, its worker writeReport, the
// test or UI thread anything else; all public members are thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/hid_device.h"
#include "link/register_table.h"

namespace zr78::sim {

struct SimConfig {
  int32_t register0 = 8864;     // 4095 makes the host skip the identity check
  int32_t deviceId = 4037;      // reported by the identity reply
  bool answerIdentity = true;   // false: identity requests get no reply
  int maxModeIndex = 6;
  uint32_t modeLockMask = 0;    // bit m set: mode m is locked
  int32_t configWord = 0x24;    // register 1248: routing config 4, USB audio available
  bool refuseRecall = false;    // command 1 gets no acknowledgement
  int reportIntervalUs = 0;     // link model; 0 = unthrottled
};

struct FaultConfig {
  double lossRate = 0;       // probability that a report (either direction) is lost
  double corruptRate = 0;    // probability that one byte of a report is changed
  int delayMs = 0;           // extra latency of every reply report
  bool silent = false;       // the device never answers
  uint32_t seed = 1;         // the fault pattern is reproducible
};

class VirtualAmplifier {
 public:
  explicit VirtualAmplifier(SimConfig config = {});
  ~VirtualAmplifier();
  VirtualAmplifier(const VirtualAmplifier&) = delete;
  VirtualAmplifier& operator=(const VirtualAmplifier&) = delete;

  // The endpoint the host's transport talks to. Lives as long as this object;
  // open() fails while unplugged.
  HidDevice& hidDevice();

  // Working registers 0..1677 (and their default image at construction).
  int32_t reg(int address) const;
  void setReg(int address, int32_t value);
  std::array<int32_t, kRegisterCount> registers() const;

  // Modes 1..6: stored parameter images and names (at most 20 characters).
  std::string modeName(int mode) const;
  void setModeName(int mode, const std::string& name);
  std::array<int32_t, kRegisterCount> modeImage(int mode) const;

  void setConfig(const SimConfig& config);
  SimConfig config() const;
  void setFaults(const FaultConfig& faults);

  // Unplug: an open device fails its next read and write, and open() fails
  // until replug.
  void unplug();
  void replug();
  bool plugged() const;

  // Counters for tests: frames received with a good CRC, per command code.
  int framesReceived(uint8_t command) const;
  void resetCounters();

  // The amplifier's memory (working registers, the six modes and names) in a
  // state file, so that `--simulate` keeps it across runs like a real one.
  bool saveState(const std::string& path) const;
  bool loadState(const std::string& path);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zr78::sim
