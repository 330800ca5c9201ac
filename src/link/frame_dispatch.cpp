// What the receiver does with each accepted frame. Every handler reads only
// the data bytes its frame has; a reply too short for its command is still a
// sign of life but changes nothing.
#include <algorithm>
#include <string_view>

#include "link/frame_codec.h"

namespace zr78 {

namespace {

constexpr int kEchoAddressLimit = kRegisterCount;   // acknowledgements below this
constexpr int kReplyAddressLimit = kRegisterCount;  // read replies up to and including this spare record

struct Reply {
  RegisterTable& table;
  LinkState& state;
  const uint8_t* data;
  size_t count;

  uint16_t word(size_t offset) const {
    return static_cast<uint16_t>(data[offset] << 8 | data[offset + 1]);
  }
};

// Returns whether the reply releases a waiting procedure.
using Handler = bool (*)(const Reply&);

bool onIdentify(const Reply& r) {
  const uint8_t* d = r.data;
  if (r.count >= 1 && (d[0] == 1 || d[0] == 2)) {
    // Mode protection: highest mode number, then the lock mask little-endian.
    if (r.count < 6) return true;
    r.state.maxModeIndex.store(d[1]);
    r.state.modeLockMask.store(static_cast<uint32_t>(d[2]) | static_cast<uint32_t>(d[3]) << 8 |
                               static_cast<uint32_t>(d[4]) << 16 | static_cast<uint32_t>(d[5]) << 24);
  } else if (r.count >= 2) {
    r.state.deviceId.store(r.word(0));
  }
  return true;
}

bool onRecall(const Reply& r) {
  r.state.recallAck.store(1);
  return true;
}

bool onWriteEcho(const Reply& r) {
  for (size_t k = 0; k + 4 <= r.count; k += 4) {
    const int address = r.word(k);
    // acknowledge() clears only the generation that was sent: a record the
    // user changed again stays dirty.
    if (address < kEchoAddressLimit) r.table.acknowledge(address, r.word(k + 2));
  }
  return true;
}

bool onReadReply(const Reply& r) {
  for (size_t k = 0; k + 4 <= r.count; k += 4) {
    const int address = r.word(k);
    const int32_t value = r.word(k + 2);
    if (address > kReplyAddressLimit) continue;
    // A dirty record keeps its edit (storeFromDevice drops the value).
    r.table.storeFromDevice(address, value);
    if (address == kActiveModeRegister && value <= r.state.maxModeIndex.load())
      r.state.modeLocked.store((r.state.modeLockMask.load() >> (value % 32)) & 1);
  }
  return true;
}

bool isNameCharacter(uint16_t unit) { return unit >= 0x21 && unit <= 0x7A; }

bool onModeName(const Reply& r) {
  if (r.count < 1 || r.data[0] == 0) return false;  // mode 0 has no name
  const int mode = r.data[0];
  ModeName& name = r.state.modeNameBuffer;
  name.clear();
  const size_t units = std::min<size_t>(r.count - 1, kModeNameUnits);
  for (size_t k = 0; k < units; ++k) name.units[k].store(r.data[1 + k]);
  // Trim padding from the end, but never the first two units.
  for (int k = kModeNameUnits - 1; k >= 2; --k) {
    if (isNameCharacter(name.units[k].load())) break;
    name.units[k].store(0);
  }
  const int entry = (mode - 1) % kModeCount;
  r.state.modeNames[entry].copyFrom(name);
  r.state.modeNameFlags[entry].store(1);
  r.state.nameReadAck.store(1);
  r.state.modeNameReceived.store(1);
  // Only the names: the mode command word is not a record of the last name
  // replied, or a late reply would redirect a recall or a store.
  return true;
}

bool onNameWritten(const Reply& r) {
  r.state.nameWriteAck.store(1);
  return true;
}

// Module text keys in the order they are tried; -1: a reply that is consumed
// without effect, otherwise the acknowledgement flag it sets.
struct ModuleKey {
  std::string_view key;
  int ack;
};
constexpr ModuleKey kModuleKeys[] = {
    {"Get_IP:", -1},          {"Get_LinkIP:", -1},          {"Get_WiFiMode:", -1},
    {"Get_TCPPort:", -1},     {"Get_UDPPort:", -1},         {"Get_RouteSSID:", -1},
    {"Get_RoutePW:", -1},     {"Get_HotSSID:", -1},         {"Get_HotPW:", -1},
    {"Set_WiFiMode:", kAckWiFiMode}, {"Set_RouteSSID:", kAckRouteSSID},
    {"Set_RoutePW:", kAckRoutePW},   {"Set_HotSSID:", kAckHotSSID},
    {"Set_HotPW:", kAckHotPW},       {"Set_Restore:", kAckRestore},
    {"Set_Restart:", kAckRestart},
};

bool onModuleText(const Reply& r) {
  if (r.count < 2) return true;
  // The module ends its text with two bytes that are not part of it.
  const std::string_view text(reinterpret_cast<const char*>(r.data), r.count - 2);
  for (const auto& k : kModuleKeys) {
    if (text.find(k.key) == std::string_view::npos) continue;
    if (k.ack >= 0) r.state.wifiAcks[k.ack].store(1);
    break;
  }
  return true;
}

struct CommandHandler {
  uint8_t command;
  Handler handler;
};
constexpr CommandHandler kHandlers[] = {
    {CMD_IDENTIFY, onIdentify},          {CMD_RECALL_MODE, onRecall},
    {CMD_WRITE_REGISTERS, onWriteEcho},  {CMD_READ_MODE_NAME, onModeName},
    {CMD_READ_REGISTERS, onReadReply},   {CMD_WRITE_MODE_NAME, onNameWritten},
    {CMD_MODULE_TEXT, onModuleText},
};

}  // namespace

void FrameReceiver::dispatch(uint8_t command, const uint8_t* data, size_t count) {
  for (const auto& h : kHandlers) {
    if (h.command != command) continue;
    if (h.handler(Reply{table_, state_, data, count})) state_.releaseIfAwaiting();
    return;
  }
  // Unknown codes are accepted as a sign of life and release nothing.
}

}  // namespace zr78
