#include "registers/register_table.h"

#include <cassert>

#include "platform/signal.h"

namespace zr78 {

RegisterTable::RegisterTable() = default;

void RegisterTable::initRegisters() {
  for (auto& r : records_) {
    r.value.store(0);
    r.tries.store(0);
    r.fromDevice.store(0);
    r.dirty.store(0);
    r.rereadRequest.store(0);
  }
  const auto& d = defaultRegisterImage();
  for (int a = 0; a < kRegisterCount; ++a) records_[a].value.store(d[a]);
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
  auto& r = records_[address];
  r.value.store(value);
  if (dirtyMarking_.load()) {
    r.dirty.store(1);
    wake();
  }
}

void RegisterTable::setRegisterQuiet(int address, int32_t value) {
  assert(isDeviceAddress(address));
  if (!isDeviceAddress(address)) return;
  records_[address].value.store(value);
}

int32_t RegisterTable::getRegister(int address) const {
  assert(isDeviceAddress(address));
  if (!isDeviceAddress(address)) return 0;
  return records_[address].value.load();
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
  return r && r->dirty.load() != 0;
}

void RegisterTable::setDirty(int address, bool on) {
  if (auto* r = record(address)) {
    r->dirty.store(on ? 1 : 0);
    if (on) wake();
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

void RegisterTable::storeFromDevice(int address, int32_t value) {
  if (auto* r = record(address)) {
    r->value.store(value);
    r->fromDevice.store(1);
  }
}

bool RegisterTable::acknowledge(int address, uint16_t echoed) {
  auto* r = record(address);
  if (!r) return false;
  if (static_cast<uint16_t>(r->value.load() & 0xFFFF) != echoed) return false;
  r->dirty.store(0);
  r->tries.store(0);
  return true;
}

void RegisterTable::wake() {
  if (Signal* s = editSignal_.load()) s->release();
}

}  // namespace zr78
