// The mirror of every amplifier parameter: one flat table of 16-bit registers.
//
// Address = page * 256 + index. Addresses 0..1677 are the device's registers;
// records 1678..1687 are spare (a read reply may still store into 1678).
// Device values are 16-bit and stored zero-extended; only the low 16 bits are
// ever sent.
//
// Thread-safety: the UI thread, the sync worker and the HID reader share the
// table without a lock. Every field is a std::atomic written whole; no
// operation needs two fields to change together. An acknowledgement clears
// `dirty` only if the echoed value still equals the stored one, which is how a
// racing edit and echo resolve.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "registers/default_image.h"
#include "registers/register_map.h"

namespace zr78 {

class Signal;

struct RegisterRecord {
  std::atomic<int32_t> value{0};
  std::atomic<uint8_t> tries{0};         // sends or requests without success
  std::atomic<uint32_t> fromDevice{0};   // arrived from the device, UI not told yet
  std::atomic<uint32_t> dirty{0};        // must be sent to the device
  std::atomic<uint32_t> rereadRequest{0};  // ask the device again from here on
};

class RegisterTable {
 public:
  RegisterTable();  // all records zero; call initRegisters for the defaults
  RegisterTable(const RegisterTable&) = delete;
  RegisterTable& operator=(const RegisterTable&) = delete;

  // Zero all 1688 records, then copy the 1678 defaults into `value`.
  void initRegisters();

  // Store and mark dirty (unless dirty marking is off). Every user edit and
  // panel write goes through this. Wakes the worker when marked.
  void setRegister(int address, int32_t value);
  // Store without marking.
  void setRegisterQuiet(int address, int32_t value);
  int32_t getRegister(int address) const;
  // Set rereadRequest on first..last (inclusive); wakes the worker.
  void requestReread(int first, int last);

  // Dirty marking switch, on by default. The UI turns it off only while it
  // applies values that came from the amplifier or a file to its controls, so
  // a control reacting to a programmatic change cannot send it back; link
  // propagation does nothing while it is off.
  void setDirtyMarking(bool on) { dirtyMarking_.store(on); }
  bool dirtyMarking() const { return dirtyMarking_.load(); }

  // Flag access for the worker and the receiver. Valid for 0..1687; any other
  // address is ignored (reads give 0) and asserts in debug builds.
  bool dirty(int address) const;
  void setDirty(int address, bool on);
  bool fromDevice(int address) const;
  void setFromDevice(int address, bool on);
  // Read and clear in one step: true when the flag was set.
  bool takeFromDevice(int address);
  bool rereadRequested(int address) const;
  void clearRereadRequest(int address);
  uint8_t tries(int address) const;
  void setTries(int address, uint8_t tries);
  // Direct record access (worker, receiver); nullptr outside 0..1687.
  RegisterRecord* record(int address);
  const RegisterRecord* record(int address) const;

  // Store a value that came from the device (read reply): value and fromDevice.
  void storeFromDevice(int address, int32_t value);
  // Acknowledge an echoed write: clears dirty and tries when the low 16 bits
  // of the stored value still equal `echoed`. Returns whether it matched.
  bool acknowledge(int address, uint16_t echoed);

  // The worker's wake-up: signalled by every marked edit and reread request so
  // that an idle worker sends at once. May be null.
  void setEditSignal(Signal* signal) { editSignal_.store(signal); }

  static bool isDeviceAddress(int address) { return address >= 0 && address < kRegisterCount; }
  static bool isRecordAddress(int address) { return address >= 0 && address < kRecordCount; }

 private:
  void wake();

  std::array<RegisterRecord, kRecordCount> records_;
  std::atomic<bool> dirtyMarking_{true};
  std::atomic<Signal*> editSignal_{nullptr};
};

}  // namespace zr78
