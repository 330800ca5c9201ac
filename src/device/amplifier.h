// The amplifier a program talks to: the real one over hidapi, or (--simulate)
// the virtual one, whose memory lives in a state file between runs as a real
// amplifier keeps its own. zr78 and zr78ctl both open theirs here.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "link/hid_device.h"
#include "presets/folders.h"
#include "sim/virtual_amplifier.h"

namespace zr78 {

class HidapiDevice;

struct AmplifierChoice {
  bool simulate = false;
  std::filesystem::path statePath;  // the virtual amplifier's memory; empty: defaultStatePath
};

class Amplifier {
 public:
  // The virtual amplifier starts from its state file: a missing file gives
  // the factory state, a damaged one too, with a warning(); `faults` are its
  // faults from the start (--sim-faults).
  Amplifier(const AmplifierChoice& choice, const Folders& folders, const sim::FaultConfig& faults = {});
  ~Amplifier();
  Amplifier(const Amplifier&) = delete;
  Amplifier& operator=(const Amplifier&) = delete;

  HidDevice& device();
  // nullptr for the real amplifier.
  sim::VirtualAmplifier* virtualAmplifier() { return virtual_.get(); }
  // Empty for the real amplifier.
  const std::filesystem::path& statePath() const { return statePath_; }
  // The channel lock the link takes on this amplifier: the state file's for
  // the virtual one; empty for the real one (the USB channel's own lock).
  std::string channelLockName() const;
  // What the user should know about the start, one line; empty when nothing.
  const std::string& warning() const { return warning_; }

  // Writes the virtual amplifier's memory to its state file, making its
  // folder; call once the link has stopped. Empty on success (and for the
  // real amplifier), else one line for the user.
  std::string saveState() const;

 private:
  std::unique_ptr<HidapiDevice> real_;
  std::unique_ptr<sim::VirtualAmplifier> virtual_;
  std::filesystem::path statePath_;
  std::string warning_;
};

}  // namespace zr78
