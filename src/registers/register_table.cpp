#include "registers/register_table.h"

#include <cassert>

#include "platform/signal.h"

namespace zr78 {

namespace {

// Band frequency words of the default image (band 1..31). Below 100 Hz a word
// carries bit 15 and tenths of a hertz.
constexpr int32_t kDefaultBandWords[31] = {
    32969, 33021, 33093, 33169, 33274, 33405, 33571, 101,  125,   161,   202,
    250,   315,   405,   500,   630,   809,   1000,  1260, 1620,  2000,  2520,
    3170,  4000,  5040,  6350,  8000,  10100, 12500, 16000, 20200};

std::array<int32_t, kRegisterCount> buildDefaults() {
  std::array<int32_t, kRegisterCount> v{};
  v[0] = 8864;
  for (int a = 12; a <= 19; ++a) v[a] = 600;  // master volume
  for (int a = 26; a <= 33; ++a) v[a] = 600;  // channel gains
  const int32_t roles[6] = {6, 12, 15, 18, 21, 24};
  for (int i = 0; i < 6; ++i) v[50 + i] = roles[i];
  for (int a = 58; a <= 72; ++a) v[a] = 1;
  // Limiter groups 83 + 7c .. 89 + 7c: attack 45.0 ms, release "Atk*8",
  // threshold +2.5 dBu. Channel 7's group ends at 137 (138 is channel 0's
  // block, written below, which wins).
  const int32_t limiter[7] = {100, 450, 8, 525, 0, 20, 0};
  for (int c = 0; c < 8; ++c)
    for (int k = 0; k < 7; ++k) v[83 + 7 * c + k] = limiter[k];
  // Channel blocks 138 + 136c .. 273 + 136c.
  for (int c = 0; c < 8; ++c) {
    const int base = 138 + 136 * c;
    const int32_t crossover[8] = {14, 10, 500, 40, 15, 20600, 500, 40};
    for (int k = 0; k < 8; ++k) v[base + k] = crossover[k];
    for (int e = 0; e < 31; ++e) {
      v[base + 8 + 4 * e] = 7;  // band shape: peaking
      v[base + 9 + 4 * e] = kDefaultBandWords[e];
      v[base + 10 + 4 * e] = 500;  // 0 dB
      v[base + 11 + 4 * e] = 400;
    }
    v[base + 132] = 7;
    v[base + 133] = 20000;
    v[base + 134] = 500;
    v[base + 135] = 400;
    if (c == 4) {
      v[base + 1] = 315;
      v[base + 5] = 1500;
    } else if (c == 5) {
      v[base + 1] = 37;
      v[base + 5] = 315;
    } else if (c >= 6) {
      v[base + 0] = 20;
      v[base + 1] = 32868;  // 10.0 Hz
      v[base + 4] = 21;
    }
  }
  const int32_t system1234[5] = {4, 1, 1, 0, 0};
  for (int i = 0; i < 5; ++i) v[1234 + i] = system1234[i];
  v[1239] = kDefaultPasswordWord0;
  v[1240] = kDefaultPasswordWord1;
  const int32_t system1241[9] = {0, 3, 1, 1, 3, 6, 2, 2, 500};
  for (int i = 0; i < 9; ++i) v[1241 + i] = system1241[i];
  return v;
}

}  // namespace

const std::array<int32_t, kRegisterCount>& defaultRegisterImage() {
  static const std::array<int32_t, kRegisterCount> image = buildDefaults();
  return image;
}

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
