// The virtual amplifier: the amplifier's side of the protocol behind the
// HidDevice seam. It stands in for the real amplifier in the tests, in the
// benchmarks and for `--simulate`, so it is written with the same care as
// the rest of the product.
//
// Wire: the host writes 65-byte output reports (byte 0 = report id 0) that
// carry packets 0xAE 0x1E F_hi F_lo 0xC8 + frame in 64-byte pieces (the last
// padded with zeros); replies come back as input reports in the same format,
// one packet per reply frame. A packet whose frame fails its start byte,
// length byte or CRC is dropped without a reply. Every good frame is counted
// (framesReceived) whether or not the device answers it.
//
// Commands (d0, d1, ... = data bytes; "no reply" means no frame at all):
//
//   0   identify      Two frames, in this order: the device id
//                     (id hi, id lo, 0, 0) and the mode protection
//                     (1, maxModeIndex as one byte, modeLockMask as 4 bytes
//                     little-endian).
//                     The host tells them apart by d0 (1 or 2 = protection),
//                     so a deviceId whose high byte is 1 or 2 cannot be
//                     reported; 4037 = 0x0FC5 is fine. No reply when
//                     answerIdentity is false.
//   1   recall mode   d0 = m in 1..6: recall mode m (below) and acknowledge
//                     with command 1, data m. No reply when refuseRecall is
//                     set or m is outside 1..6 (nothing recalled either).
//   3   write         Each whole 4-byte entry (address, value, big-endian) is
//                     stored in order, except addresses of 1678 and above and
//                     the read-only registers 0 (identity) and 1248
//                     (configuration word). The reply is one command-3 frame
//                     echoing the same entries as received (a trailing
//                     partial entry is dropped). Register 1243 written with
//                     0x0600 + m recalls mode m (not when refuseRecall is
//                     set); 0x0700 + m stores the working registers into mode
//                     m (its name is unchanged); any other value is just
//                     stored. Entries apply in order, so a later entry of the
//                     same frame overrides a recalled value; the echo of 1243
//                     carries the value as written, though a recall leaves 0
//                     in the register.
//   4   read name     d0 = m in 1..6: command 4 with m, then mode m's name
//                     padded with spaces to 25 bytes. No reply for other m.
//   6   read          One command-6 frame with one entry (address hi, lo,
//                     value hi, lo) per requested address, in request order,
//                     for the first 25 addresses; addresses of 1678 and above
//                     have no register and no entry.
//   16  write name    d0 = m in 1..6, then the name bytes: stores the
//                     working registers into mode m (the host's "Save" sends
//                     nothing else) and the name: the first 20 bytes, trailing
//                     bytes of 0x20 or below removed. Acknowledged with
//                     command 16, data m. No reply for other m.
//   240 dump          Streams 68 command-6 frames covering registers 0..1677
//                     in address order, 25 entries per frame (the last 3).
//   87 and every other code: ignored.
//
// Locked modes (modeLockMask) are the host's business: the device answers
// every read and recall as usual.
//
// Memory: working registers 0..1677 and six modes, each a full register
// image and a name of at most 20 bytes. Factory state: the amplifier's own
// factory registers (sim/factory_registers.h, equal to the host's defaults)
// with register 0 = register0 and 1248 = configWord (both also follow
// setConfig); every mode holds the same image; names "Mode 1" .. "Mode 6".
// randomiseMemory gives a used amplifier's memory instead, so that what the
// host reads differs from its defaults.
// A recall copies mode m's image into the working registers except the
// device-wide registers, which keep their values: 0 and 1248 (hardware),
// 1239 and 1240 (password), 1244 (handshake mark); then 1242 (active mode)
// becomes m and 1243 becomes 0. Storing copies all working registers and
// leaves the active mode as it is.
// Register values are 16-bit; setReg keeps the low 16 bits.
//
// Faults (setFaults): each report, input or output, is lost with
// probability lossRate or gets one payload byte changed with probability
// corruptRate; a lost output report still counts as written for the host.
// Every reply frame becomes readable delayMs after the request completed, or
// a random delayMs..delayMaxMs when delayMaxMs is larger; replies keep their
// order whatever their delays, as on a USB pipe. With probability
// duplicateRate a reply frame arrives twice in a row. silent: frames are
// received, counted and acted on, never answered. stall: the device stops
// answering and every write blocks until the stall is lifted (setFaults),
// the amplifier is unplugged or destroyed; closing the endpoint does not end
// it, as with a device whose write hangs in the kernel. ignoreWrites: the
// device echoes writes of those registers as usual but keeps their old
// values; dropReads: read replies and the dump leave those registers out
// (the other entries of a reply still arrive); noEcho: writes of those
// registers are stored but left out of the echo (as unacknowledgedAddress).
// The pattern comes
// from a std::mt19937 seeded with `seed` at every setFaults, so the same seed
// and the same host traffic give the same faults.
//
// Endpoint (hidDevice()): open() succeeds while plugged in and starts with
// an empty input queue; readReport and writeReport on a closed endpoint
// return -1. close() and unplug() discard queued input and make a read
// waiting in readReport (or a write waiting for its slot) return -1 at once;
// while unplugged open() fails, and after replug() the host opens the same
// endpoint again. The amplifier keeps its memory across unplug and replug.
// readReport(report, timeoutMs) waits at most timeoutMs (negative: no limit)
// and returns 65, or 0 on timeout. Input that the host does not read piles up
// to 4096 reports; further reports are dropped as by a full device buffer.
//
// Link model: reportIntervalUs > 0 carries one report per interval in each
// direction: writeReport blocks until its slot (the first write after a
// pause goes at once), and reply reports become readable one per interval
// (USB full-speed interrupt endpoint: 1000 us).
//
// Threads: the host's reader calls readReport, its worker writeReport, the
// test or UI thread anything else; all public members are thread-safe. The
// simulator models the device, outside the link's shared state, and keeps
// its state under one mutex with one condition variable (for waiting reads
// and paced writes); the answer to a frame is computed in writeReport.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/hid_device.h"
#include "registers/register_map.h"

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
  int unacknowledgedAddress = -1;  // a register whose writes are applied but never echoed
};

// Registers first..last; empty (first = -1) by default.
struct AddressRange {
  int first = -1;
  int last = -1;
  bool contains(int address) const { return first >= 0 && address >= first && address <= last; }
};

struct FaultConfig {
  double lossRate = 0;       // probability that a report (either direction) is lost
  double corruptRate = 0;    // probability that one byte of a report is changed
  double duplicateRate = 0;  // probability that a reply frame arrives twice
  int delayMs = 0;           // extra latency of every reply (the least one when delayMaxMs is larger)
  int delayMaxMs = 0;        // above delayMs: each reply waits a random delayMs..delayMaxMs
  bool silent = false;       // the device never answers
  bool stall = false;        // the device never answers and its writes block
  AddressRange ignoreWrites; // writes of these registers are echoed but not stored
  AddressRange dropReads;    // these registers never appear in read replies (reads and the dump)
  AddressRange noEcho;       // writes of these registers are stored but never echoed
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
  // reg gives 0 and setReg does nothing outside 0..1677; setReg may change
  // any register, the read-only ones included.
  int32_t reg(int address) const;
  void setReg(int address, int32_t value);
  std::array<int32_t, kRegisterCount> registers() const;
  // A used amplifier's memory drawn from `seed` (AmplifierMemory::randomise).
  void randomiseMemory(uint32_t seed);

  // Modes 1..6: stored parameter images and names (at most 20 characters,
  // stored as the device stores a command-16 name). Other mode numbers: an
  // empty name, an all-zero image, setModeName ignored.
  std::string modeName(int mode) const;
  void setModeName(int mode, const std::string& name);
  std::array<int32_t, kRegisterCount> modeImage(int mode) const;

  // Takes effect at once: registers 0 and 1248 follow register0 and
  // configWord; the other fields apply to the next frame or report.
  void setConfig(const SimConfig& config);
  SimConfig config() const;
  void setFaults(const FaultConfig& faults);
  FaultConfig faults() const;

  // Unplug: an open device fails its next read and write, and open() fails
  // until replug.
  void unplug();
  void replug();
  bool plugged() const;

  // Counters for tests: frames received with a good CRC, per command code.
  int framesReceived(uint8_t command) const;
  // Addresses asked for in read requests (command 6), all frames together.
  int registersRequested() const;
  // Entries of write frames (command 3) for `address`, stored or not.
  int writesReceived(int address) const;
  void resetCounters();

  // The amplifier's memory (working registers, the six modes and names) in a
  // state file, so that `--simulate` keeps it across runs like a real one.
  // The format is described in sim/amplifier_state_file.h. saveState gives
  // false when the file cannot be written; loadState gives false for a
  // missing, unreadable or damaged file and then leaves the memory as it was.
  // Registers 0 and 1248 always follow the configuration, not the file.
  bool saveState(const std::string& path) const;
  bool loadState(const std::string& path);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zr78::sim
