// The link's shared state: flags, counters and the reply semaphore that the
// sync worker, the HID reader (through the frame receiver) and the UI share.
// One instance per running link; every field is a std::atomic (or a Signal),
// so no lock guards any of it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/signal.h"
#include "registers/register_map.h"

namespace zr78 {

constexpr int kModeNameUnits = 25;

// The command-87 acknowledgement keys, in the order of `wifiAcks`.
enum WifiAck : int {
  kAckWiFiMode = 0,  // "Set_WiFiMode:"
  kAckRouteSSID,     // "Set_RouteSSID:"
  kAckRoutePW,       // "Set_RoutePW:"
  kAckHotSSID,       // "Set_HotSSID:"
  kAckHotPW,         // "Set_HotPW:"
  kAckRestore,       // "Set_Restore:"
  kAckRestart,       // "Set_Restart:"
  kWifiAckCount
};

// 25 UTF-16 units, each written whole (the receiver writes, UI and worker read).
struct ModeName {
  std::array<std::atomic<uint16_t>, kModeNameUnits> units{};

  void clear() {
    for (auto& u : units) u.store(0);
  }
  void copyFrom(const ModeName& other) {
    for (int i = 0; i < kModeNameUnits; ++i) units[i].store(other.units[i].load());
  }
  // Units up to the first 0, as Latin-1 text converted to UTF-8.
  std::string toString() const;
  // The first 25 units of a Latin-1/ASCII text (rest 0).
  void assign(const std::string& latin1);
};

struct LinkState {
  // Worker flags.
  std::atomic<bool> running{true};
  std::atomic<bool> connected{false};
  std::atomic<bool> paused{false};

  // Receiver state.
  std::atomic<uint32_t> lastReceiveTick{0};
  std::atomic<uint8_t> missCount{0};
  std::atomic<uint32_t> awaitingReply{0};
  Signal replySemaphore;
  std::atomic<int32_t> deviceId{0};
  std::atomic<int32_t> maxModeIndex{6};
  std::atomic<uint32_t> modeLockMask{0};
  std::atomic<uint32_t> modeLocked{0};
  std::atomic<uint32_t> recallAck{0};
  std::atomic<uint32_t> nameReadAck{0};
  std::atomic<uint32_t> nameWriteAck{0};
  std::atomic<uint8_t> modeNameReceived{0};
  ModeName modeNameBuffer;
  std::array<ModeName, kModeCount> modeNames{};
  std::array<std::atomic<uint32_t>, kModeCount> modeNameFlags{};
  std::array<std::atomic<uint8_t>, kWifiAckCount> wifiAcks{};

  // Release the reply semaphore when a procedure waits for a reply.
  void releaseIfAwaiting() {
    if (awaitingReply.load()) replySemaphore.release();
  }
};

}  // namespace zr78
