// What the amplifier remembers: the working registers, six stored modes with
// their register images and names. Plain data with the device's rules for
// host writes, mode recall and mode store; the caller serialises access.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "registers/register_map.h"

namespace zr78::sim {

constexpr size_t kModeNameMax = 20;    // bytes a mode name keeps

class AmplifierMemory {
 public:
  // Factory state: the factory registers in the working registers and in
  // every mode, names "Mode 1" .. "Mode 6".
  AmplifierMemory();

  static bool validAddress(int address) { return address >= 0 && address < kRegisterCount; }
  static bool validMode(int mode) { return mode >= 1 && mode <= kModeCount; }
  // Hardware registers (identity: SimConfig::register0, configuration word:
  // SimConfig::configWord) ignore host writes.
  static bool readOnly(int address) {
    return address == kIdentityRegister || address == kDeviceConfigurationRegister;
  }
  // Device-wide registers keep their value when a mode is recalled.
  static bool deviceWide(int address);
  // A name as the device keeps it: the first 20 bytes, trailing bytes of
  // 0x20 or below removed.
  static std::string normaliseName(std::string_view name);

  int32_t reg(int address) const;  // 0 outside 0..1677
  // Device-side store (tests, state file): any register, low 16 bits.
  void setReg(int address, int32_t value);
  // A host write (command 3 entry): ignored outside 0..1677 and for the
  // read-only registers; 1243 = 0x0600 + m recalls mode m unless
  // recallAllowed is false, 0x0700 + m stores the working registers into m.
  void writeFromHost(int address, int32_t value, bool recallAllowed);
  // The hardware registers 0 and 1248.
  void applyHardware(int32_t register0, int32_t configWord);

  // Recall: every register that is not device-wide takes mode m's value;
  // 1242 becomes m and 1243 becomes 0. Store: mode m's image becomes the
  // working registers (name unchanged). Both ignore an invalid mode.
  void recall(int mode);
  void store(int mode);
  // Memory as a used amplifier might hold it: every working register and
  // every mode image random 16-bit words drawn from `seed`, except the
  // hardware registers and the mode words (1242 a valid mode, 1243 and 1244
  // zero), so that what a host reads differs from any default.
  void randomise(uint32_t seed);

  const RegisterImage& registers() const { return working_; }
  const RegisterImage& modeImage(int mode) const { return modes_.at(static_cast<size_t>(mode - 1)); }
  void setModeImage(int mode, const RegisterImage& image);
  const std::string& modeName(int mode) const { return names_.at(static_cast<size_t>(mode - 1)); }
  void setModeName(int mode, std::string_view name);

 private:
  RegisterImage working_;
  std::array<RegisterImage, kModeCount> modes_;
  std::array<std::string, kModeCount> names_;
};

}  // namespace zr78::sim
