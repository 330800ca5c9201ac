// The mirror of every amplifier parameter: one flat table of 16-bit registers.
//
// Address = page * 256 + index. Addresses 0..1677 are the device's registers;
// records 1678..1687 are spare (a read reply may still store into 1678).
// Device values are 16-bit and stored zero-extended; only the low 16 bits are
// ever sent.
//
// Thread-safety: the UI thread, the sync worker and the HID reader share the
// table without a lock. A record's value, its edit generation and its dirty
// mark live in one atomic word, so an edit, an acknowledgement, a give-up and
// a read reply each change a record in one step and never interleave:
//   - every edit (setRegister, setRegisterQuiet, setDirty on) starts a new
//     generation;
//   - the worker records the generation it sends (beginSend); an echo clears
//     the mark only while that generation is still the record's, and a
//     give-up clears only the generation that was sent, so a newer edit is
//     never marked clean unsent;
//   - a read reply never replaces a dirty record: the edit wins and is sent.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

#include "registers/default_image.h"
#include "registers/register_map.h"

namespace zr78 {

class Signal;

// The worker's sends of a record before it is given up.
constexpr uint8_t kSendsBeforeGivingUp = 11;

struct RegisterRecord {
  // Bits 0..31: the value; bits 32..62: the edit generation (1.., 0 = never
  // edited); bit 63: dirty (must be sent to the device).
  std::atomic<uint64_t> word{0};
  std::atomic<uint32_t> sentGeneration{0};  // the generation last sent; 0: none
  std::atomic<uint8_t> tries{0};            // sends of that generation without success
  std::atomic<uint8_t> readTries{0};        // read requests without a reply
  std::atomic<uint32_t> fromDevice{0};      // arrived from the device, UI not told yet
  std::atomic<uint32_t> rereadRequest{0};   // ask the device for this register again
};

// One record as one moment saw it.
struct RegisterState {
  int32_t value = 0;
  uint32_t generation = 0;
  bool dirty = false;
};

// What the worker does with a record in a write batch.
struct SendStep {
  enum class Kind { Skip, Send, GiveUp };
  Kind kind = Kind::Skip;  // Skip: not dirty; GiveUp: the generation was given up
  int32_t value = 0;       // to put on the wire (Send)
  uint32_t generation = 0; // the edit it belongs to
};

class RegisterTable {
 public:
  RegisterTable();  // all records zero; call initRegisters for the defaults
  RegisterTable(const RegisterTable&) = delete;
  RegisterTable& operator=(const RegisterTable&) = delete;

  // Zero all 1688 records, then copy the 1678 defaults into `value`.
  void initRegisters();

  // Store and mark dirty (unless dirty marking is off): a new edit. Every user
  // edit and panel write goes through this. Wakes the worker when marked.
  void setRegister(int address, int32_t value);
  // Store without marking (a pending edit stays pending, with this value).
  void setRegisterQuiet(int address, int32_t value);
  int32_t getRegister(int address) const;
  // Every device register's value, one getRegister each (not one moment).
  RegisterImage image() const;
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
  // On: the stored value becomes a new edit to send. Off: drops whatever is
  // pending, unconditionally (the worker clears through clearGeneration).
  void setDirty(int address, bool on);
  bool fromDevice(int address) const;
  void setFromDevice(int address, bool on);
  // Read and clear in one step: true when the flag was set.
  bool takeFromDevice(int address);
  bool rereadRequested(int address) const;
  void clearRereadRequest(int address);
  uint8_t tries(int address) const;
  void setTries(int address, uint8_t tries);
  uint8_t readTries(int address) const;
  void setReadTries(int address, uint8_t tries);
  RegisterState state(int address) const;
  // The value of any record, the spare ones included.
  int32_t recordValue(int address) const;

  // The worker takes a dirty record into a write batch: remembers the
  // generation it sends and counts the send. A generation sent
  // kSendsBeforeGivingUp times without an acknowledgement is given up
  // instead (clean, tries 0) unless a newer edit has come, which is then sent
  // with fresh tries.
  SendStep beginSend(int address);
  // Clean, if the record still holds `generation` (a newer edit stays).
  bool clearGeneration(int address, uint32_t generation);

  // A read reply: stores the value and sets fromDevice, unless the record is
  // dirty (then only fromDevice: the pending edit wins). True when stored.
  bool storeFromDevice(int address, int32_t value);
  // An echoed write. When the record still holds the generation last sent
  // and the low 16 bits equal `echoed`, the record is clean (true). An echo
  // of another value leaves a dirty record dirty; on a record that the last
  // send made clean it means the device applied an older write after the one
  // counted, so the record is marked to be sent again.
  bool acknowledge(int address, uint16_t echoed);

  // The worker's wake-up: signalled by every marked edit and reread request so
  // that an idle worker sends at once. May be null.
  void setEditSignal(Signal* signal) { editSignal_.store(signal); }

  // Tests only: called by a give-up between reading the record and clearing
  // it, the window in which a newer edit can land. Set it before the table is
  // shared.
  void setGiveUpWindowHook(std::function<void(int address)> hook) { giveUpWindowHook_ = std::move(hook); }

  static bool isDeviceAddress(int address) { return address >= 0 && address < kRegisterCount; }
  static bool isRecordAddress(int address) { return address >= 0 && address < kRecordCount; }

 private:
  RegisterRecord* record(int address);
  const RegisterRecord* record(int address) const;
  void wake();

  std::array<RegisterRecord, kRecordCount> records_;
  std::atomic<bool> dirtyMarking_{true};
  std::atomic<Signal*> editSignal_{nullptr};
  std::function<void(int)> giveUpWindowHook_;
};

}  // namespace zr78
