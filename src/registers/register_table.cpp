#include "registers/register_table.h"

#include <cassert>

#include "platform/signal.h"

namespace zr78 {

namespace {

constexpr uint64_t kDirtyBit = uint64_t{1} << 63;
constexpr uint32_t kGenerationMask = 0x7FFFFFFF;

uint64_t pack(int32_t value, uint32_t generation, bool dirty) {
  return static_cast<uint64_t>(static_cast<uint32_t>(value)) |
         static_cast<uint64_t>(generation & kGenerationMask) << 32 | (dirty ? kDirtyBit : 0);
}
int32_t valueOf(uint64_t word) { return static_cast<int32_t>(static_cast<uint32_t>(word)); }
uint32_t generationOf(uint64_t word) { return static_cast<uint32_t>(word >> 32) & kGenerationMask; }
bool dirtyOf(uint64_t word) { return (word & kDirtyBit) != 0; }
// Generation 0 means "never edited" and is skipped when the count wraps.
uint32_t nextGeneration(uint32_t generation) { return generation >= kGenerationMask ? 1 : generation + 1; }
bool sameWord(int32_t value, uint16_t echoed) { return static_cast<uint16_t>(value & 0xFFFF) == echoed; }

// Replaces the word with change(old) in one step; returns the new word.
template <typename Change>
uint64_t update(std::atomic<uint64_t>& word, Change change) {
  uint64_t old = word.load();
  uint64_t next = change(old);
  while (!word.compare_exchange_weak(old, next)) next = change(old);
  return next;
}

}  // namespace

RegisterTable::RegisterTable() = default;

void RegisterTable::initRegisters() {
  for (auto& r : records_) {
    r.word.store(0);
    r.sentGeneration.store(0);
    r.tries.store(0);
    r.readTries.store(0);
    r.fromDevice.store(0);
    r.rereadRequest.store(0);
  }
  const auto& d = defaultRegisterImage();
  for (int a = 0; a < kRegisterCount; ++a) records_[a].word.store(pack(d[a], 0, false));
}

RegisterRecord* RegisterTable::record(int address) {
  assert(isRecordAddress(address));
  return isRecordAddress(address) ? &records_[address] : nullptr;
}

const RegisterRecord* RegisterTable::record(int address) const {
  assert(isRecordAddress(address));
  return isRecordAddress(address) ? &records_[address] : nullptr;
}

void RegisterTable::setRegister(int address, int32_t value) {
  assert(isDeviceAddress(address));
  if (!isDeviceAddress(address)) return;
  const bool marking = dirtyMarking_.load();
  update(records_[address].word, [&](uint64_t w) {
    return pack(value, nextGeneration(generationOf(w)), marking || dirtyOf(w));
  });
  if (marking) wake();
}

void RegisterTable::setRegisterQuiet(int address, int32_t value) {
  assert(isDeviceAddress(address));
  if (!isDeviceAddress(address)) return;
  update(records_[address].word,
         [&](uint64_t w) { return pack(value, nextGeneration(generationOf(w)), dirtyOf(w)); });
}

int32_t RegisterTable::getRegister(int address) const {
  assert(isDeviceAddress(address));
  if (!isDeviceAddress(address)) return 0;
  return valueOf(records_[address].word.load());
}

RegisterImage RegisterTable::image() const {
  RegisterImage image{};
  for (int a = 0; a < kRegisterCount; ++a) image[static_cast<size_t>(a)] = valueOf(records_[a].word.load());
  return image;
}

int32_t RegisterTable::recordValue(int address) const {
  const auto* r = record(address);
  return r ? valueOf(r->word.load()) : 0;
}

RegisterState RegisterTable::state(int address) const {
  const auto* r = record(address);
  if (!r) return {};
  const uint64_t w = r->word.load();
  return {valueOf(w), generationOf(w), dirtyOf(w)};
}

void RegisterTable::requestReread(int first, int last) {
  assert(isDeviceAddress(first) && isDeviceAddress(last));
  if (first < 0) first = 0;
  if (last >= kRegisterCount) last = kRegisterCount - 1;
  for (int a = first; a <= last; ++a) records_[a].rereadRequest.store(1);
  if (first <= last) wake();
}

bool RegisterTable::dirty(int address) const {
  const auto* r = record(address);
  return r && dirtyOf(r->word.load());
}

void RegisterTable::setDirty(int address, bool on) {
  auto* r = record(address);
  if (!r) return;
  if (on) {
    update(r->word, [](uint64_t w) { return pack(valueOf(w), nextGeneration(generationOf(w)), true); });
    wake();
  } else {
    update(r->word, [](uint64_t w) { return w & ~kDirtyBit; });
  }
}

bool RegisterTable::fromDevice(int address) const {
  const auto* r = record(address);
  return r && r->fromDevice.load() != 0;
}

void RegisterTable::setFromDevice(int address, bool on) {
  if (auto* r = record(address)) r->fromDevice.store(on ? 1 : 0);
}

bool RegisterTable::takeFromDevice(int address) {
  auto* r = record(address);
  return r && r->fromDevice.exchange(0) != 0;
}

bool RegisterTable::rereadRequested(int address) const {
  const auto* r = record(address);
  return r && r->rereadRequest.load() != 0;
}

void RegisterTable::clearRereadRequest(int address) {
  if (auto* r = record(address)) r->rereadRequest.store(0);
}

uint8_t RegisterTable::tries(int address) const {
  const auto* r = record(address);
  return r ? r->tries.load() : 0;
}

void RegisterTable::setTries(int address, uint8_t tries) {
  if (auto* r = record(address)) r->tries.store(tries);
}

uint8_t RegisterTable::readTries(int address) const {
  const auto* r = record(address);
  return r ? r->readTries.load() : 0;
}

void RegisterTable::setReadTries(int address, uint8_t tries) {
  if (auto* r = record(address)) r->readTries.store(tries);
}

SendStep RegisterTable::beginSend(int address) {
  auto* r = record(address);
  if (!r) return {};
  for (;;) {
    uint64_t w = r->word.load();
    if (!dirtyOf(w)) return {};
    const uint32_t generation = generationOf(w);
    if (r->sentGeneration.load() != generation) {
      // A new edit: its own count of sends.
      r->tries.store(0);
      r->sentGeneration.store(generation);
    }
    const uint8_t sent = r->tries.load();
    if (sent < kSendsBeforeGivingUp) {
      r->tries.store(static_cast<uint8_t>(sent + 1));
      return {SendStep::Kind::Send, valueOf(w), generation};
    }
    // Given up: only this generation, only if no newer edit came meanwhile
    // (that one is taken on the next turn, with fresh tries).
    if (giveUpWindowHook_) giveUpWindowHook_(address);
    if (r->word.compare_exchange_strong(w, w & ~kDirtyBit)) {
      r->tries.store(0);
      r->sentGeneration.store(0);
      return {SendStep::Kind::GiveUp, valueOf(w), generation};
    }
  }
}

bool RegisterTable::clearGeneration(int address, uint32_t generation) {
  auto* r = record(address);
  if (!r) return false;
  uint64_t w = r->word.load();
  for (;;) {
    if (generationOf(w) != generation) return false;
    if (!dirtyOf(w)) return true;
    if (r->word.compare_exchange_weak(w, w & ~kDirtyBit)) return true;
  }
}

bool RegisterTable::storeFromDevice(int address, int32_t value) {
  auto* r = record(address);
  if (!r) return false;
  uint64_t w = r->word.load();
  for (;;) {
    if (dirtyOf(w)) {
      // The edit wins: it is sent, and the register counts as read.
      r->fromDevice.store(1);
      return false;
    }
    // An unchanged value keeps its generation, so that an echo still pending
    // for it is recognised.
    if (valueOf(w) == value) break;
    if (r->word.compare_exchange_weak(w, pack(value, nextGeneration(generationOf(w)), false))) break;
  }
  r->readTries.store(0);
  r->fromDevice.store(1);
  return true;
}

bool RegisterTable::acknowledge(int address, uint16_t echoed) {
  auto* r = record(address);
  if (!r) return false;
  const uint32_t sent = r->sentGeneration.load();
  if (sent == 0) return false;  // nothing of this record is waiting for an echo
  uint64_t w = r->word.load();
  for (;;) {
    if (generationOf(w) != sent) return false;  // edited (or read anew) since the send
    const bool matches = sameWord(valueOf(w), echoed);
    if (dirtyOf(w)) {
      if (!matches) return false;  // an older value's echo: the record is sent again
      if (r->word.compare_exchange_weak(w, w & ~kDirtyBit)) {
        r->tries.store(0);
        return true;
      }
    } else {
      if (matches) return true;  // a repeated echo
      // Echoes arrive in the order of the writes: the device has just applied
      // a write older than the one that made this record clean.
      if (r->word.compare_exchange_weak(w, w | kDirtyBit)) {
        wake();
        return false;
      }
    }
  }
}

void RegisterTable::wake() {
  if (Signal* s = editSignal_.load()) s->release();
}

}  // namespace zr78
