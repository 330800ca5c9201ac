#include "sim/amplifier_memory.h"

#include <random>

#include "sim/factory_registers.h"

namespace zr78::sim {

namespace {

int32_t word(int32_t value) { return value & 0xFFFF; }

RegisterImage factoryImage() {
  RegisterImage image = factoryRegisters();
  for (auto& v : image) v = word(v);
  return image;
}

}  // namespace

AmplifierMemory::AmplifierMemory() : working_(factoryImage()) {
  modes_.fill(working_);
  for (int m = 1; m <= kModeCount; ++m) names_[static_cast<size_t>(m - 1)] = "Mode " + std::to_string(m);
}

bool AmplifierMemory::deviceWide(int address) {
  switch (address) {
    case kIdentityRegister:
    case kPasswordWord0Register:
    case kPasswordWord1Register:
    case kActiveModeRegister:
    case kModeCommandRegister:
    case kHandshakeRegister:
    case kDeviceConfigurationRegister:
      return true;
    default:
      return false;
  }
}

std::string AmplifierMemory::normaliseName(std::string_view name) {
  std::string kept(name.substr(0, kModeNameMax));
  while (!kept.empty() && static_cast<uint8_t>(kept.back()) <= 0x20) kept.pop_back();
  return kept;
}

int32_t AmplifierMemory::reg(int address) const {
  return validAddress(address) ? working_[static_cast<size_t>(address)] : 0;
}

void AmplifierMemory::setReg(int address, int32_t value) {
  if (validAddress(address)) working_[static_cast<size_t>(address)] = word(value);
}

void AmplifierMemory::writeFromHost(int address, int32_t value, bool recallAllowed) {
  if (!validAddress(address) || readOnly(address)) return;
  setReg(address, value);
  if (address != kModeCommandRegister) return;
  const int mode = modeOfCommandWord(value);
  if (isModeOperation(value, ModeOperation::Recall) && recallAllowed) recall(mode);
  if (isModeOperation(value, ModeOperation::Store)) store(mode);
}

void AmplifierMemory::applyHardware(int32_t register0, int32_t configWord) {
  setReg(kIdentityRegister, register0);
  setReg(kDeviceConfigurationRegister, configWord);
}

void AmplifierMemory::recall(int mode) {
  if (!validMode(mode)) return;
  const RegisterImage& image = modeImage(mode);
  for (int a = 0; a < kRegisterCount; ++a) {
    if (!deviceWide(a)) working_[static_cast<size_t>(a)] = image[static_cast<size_t>(a)];
  }
  working_[kActiveModeRegister] = mode;
  working_[kModeCommandRegister] = 0;
}

void AmplifierMemory::store(int mode) {
  if (validMode(mode)) modes_[static_cast<size_t>(mode - 1)] = working_;
}

void AmplifierMemory::randomise(uint32_t seed) {
  std::mt19937 rng(seed);
  auto fill = [&](RegisterImage& image) {
    for (int a = 0; a < kRegisterCount; ++a) {
      if (readOnly(a)) continue;
      image[static_cast<size_t>(a)] = static_cast<int32_t>(rng() & 0xFFFF);
    }
    image[kActiveModeRegister] = 1 + static_cast<int32_t>(rng() % kModeCount);
    image[kModeCommandRegister] = 0;
    image[kHandshakeRegister] = 0;
  };
  fill(working_);
  for (auto& mode : modes_) fill(mode);
}

void AmplifierMemory::setModeImage(int mode, const RegisterImage& image) {
  if (!validMode(mode)) return;
  RegisterImage& target = modes_[static_cast<size_t>(mode - 1)];
  for (size_t a = 0; a < target.size(); ++a) target[a] = word(image[a]);
}

void AmplifierMemory::setModeName(int mode, std::string_view name) {
  if (validMode(mode)) names_[static_cast<size_t>(mode - 1)] = normaliseName(name);
}

}  // namespace zr78::sim
