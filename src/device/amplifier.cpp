#include "device/amplifier.h"

#include <system_error>

#include "device/state_file.h"
#include "hid/hidapi_device.h"
#include "sim/virtual_amplifier.h"

namespace zr78 {

namespace fs = std::filesystem;

Amplifier::Amplifier(const AmplifierChoice& choice, const Folders& folders, const sim::FaultConfig& faults) {
  if (!choice.simulate) {
    real_ = std::make_unique<HidapiDevice>();
    return;
  }
  virtual_ = std::make_unique<sim::VirtualAmplifier>();
  statePath_ = choice.statePath.empty() ? defaultStatePath(folders) : choice.statePath;
  std::error_code error;
  if (fs::exists(statePath_, error) && !virtual_->loadState(utf8FromPath(statePath_)))
    warning_ = "the virtual amplifier's state file " + utf8FromPath(statePath_) +
               " is damaged; starting from defaults";
  virtual_->setFaults(faults);
}

Amplifier::~Amplifier() = default;

HidDevice& Amplifier::device() {
  return real_ ? static_cast<HidDevice&>(*real_) : virtual_->hidDevice();
}

std::string Amplifier::channelLockName() const {
  return virtual_ ? simulatorLockName(statePath_) : std::string();
}

std::string Amplifier::saveState() const {
  if (!virtual_) return {};
  std::error_code error;
  if (statePath_.has_parent_path()) fs::create_directories(statePath_.parent_path(), error);
  if (virtual_->saveState(utf8FromPath(statePath_))) return {};
  return "cannot save the virtual amplifier's state to " + utf8FromPath(statePath_);
}

}  // namespace zr78
