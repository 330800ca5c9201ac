#include "sim/amplifier_commands.h"

#include <algorithm>

namespace zr78::sim {

namespace {

constexpr size_t kModeNameReply = 25;  // name bytes in a command-4 reply
constexpr uint8_t kProtectionTag = 1;  // d0 of the mode-protection identity reply

using Replies = std::vector<DeviceFrame>;

struct Context {
  AmplifierMemory& memory;
  const SimConfig& config;
  const FaultConfig& faults;
};

uint8_t hi(int32_t v) { return static_cast<uint8_t>((v >> 8) & 0xFF); }
uint8_t lo(int32_t v) { return static_cast<uint8_t>(v & 0xFF); }
int32_t word(const std::vector<uint8_t>& d, size_t at) { return d[at] << 8 | d[at + 1]; }

// One command-6 entry: address hi, lo, value hi, lo.
void appendEntry(std::vector<uint8_t>& data, int address, int32_t value) {
  data.insert(data.end(), {hi(address), lo(address), hi(value), lo(value)});
}

void answerIdentify(Context& c, const std::vector<uint8_t>&, Replies& out) {
  if (!c.config.answerIdentity) return;
  out.push_back({CMD_IDENTIFY, {hi(c.config.deviceId), lo(c.config.deviceId), 0, 0}});
  const uint32_t mask = c.config.modeLockMask;
  out.push_back({CMD_IDENTIFY,
                 {kProtectionTag, static_cast<uint8_t>(c.config.maxModeIndex), static_cast<uint8_t>(mask),
                  static_cast<uint8_t>(mask >> 8), static_cast<uint8_t>(mask >> 16), static_cast<uint8_t>(mask >> 24)}});
}

void answerRecall(Context& c, const std::vector<uint8_t>& d, Replies& out) {
  if (d.empty() || !AmplifierMemory::validMode(d[0]) || c.config.refuseRecall) return;
  c.memory.recall(d[0]);
  out.push_back({CMD_RECALL_MODE, {d[0]}});
}

void answerWrite(Context& c, const std::vector<uint8_t>& d, Replies& out) {
  DeviceFrame echo{CMD_WRITE_REGISTERS, {}};
  for (size_t at = 0; at + 4 <= d.size(); at += 4) {
    if (!c.faults.ignoreWrites.contains(word(d, at)))
      c.memory.writeFromHost(word(d, at), word(d, at + 2), !c.config.refuseRecall);
    if (word(d, at) == c.config.unacknowledgedAddress || c.faults.noEcho.contains(word(d, at))) continue;
    echo.data.insert(echo.data.end(), d.begin() + static_cast<std::ptrdiff_t>(at),
                     d.begin() + static_cast<std::ptrdiff_t>(at + 4));
  }
  out.push_back(std::move(echo));
}

void answerReadName(Context& c, const std::vector<uint8_t>& d, Replies& out) {
  if (d.empty() || !AmplifierMemory::validMode(d[0])) return;
  DeviceFrame reply{CMD_READ_MODE_NAME, std::vector<uint8_t>(1 + kModeNameReply, ' ')};
  reply.data[0] = d[0];
  const std::string& name = c.memory.modeName(d[0]);  // at most 20 bytes
  std::copy(name.begin(), name.end(), reply.data.begin() + 1);
  out.push_back(std::move(reply));
}

void answerRead(Context& c, const std::vector<uint8_t>& d, Replies& out) {
  DeviceFrame reply{CMD_READ_REGISTERS, {}};
  const size_t count = std::min(d.size() / 2, static_cast<size_t>(kReadBatchLimit));
  for (size_t i = 0; i < count; ++i) {
    const int address = word(d, 2 * i);
    if (AmplifierMemory::validAddress(address) && !c.faults.dropReads.contains(address))
      appendEntry(reply.data, address, c.memory.reg(address));
  }
  out.push_back(std::move(reply));
}

void answerWriteName(Context& c, const std::vector<uint8_t>& d, Replies& out) {
  if (d.empty() || !AmplifierMemory::validMode(d[0])) return;
  // The host's "Save" sends only this frame (its 0x0700 + m command word is
  // never marked for sending), so the name write is also the store.
  c.memory.store(d[0]);
  c.memory.setModeName(d[0], std::string(d.begin() + 1, d.end()));
  out.push_back({CMD_WRITE_MODE_NAME, {d[0]}});
}

// The streamed dump: registers 0..1677 in address order, 25 per frame.
void answerDump(Context& c, const std::vector<uint8_t>&, Replies& out) {
  for (int first = 0; first < kRegisterCount; first += kReadBatchLimit) {
    DeviceFrame reply{CMD_READ_REGISTERS, {}};
    const int end = std::min(first + kReadBatchLimit, kRegisterCount);
    for (int a = first; a < end; ++a)
      if (!c.faults.dropReads.contains(a)) appendEntry(reply.data, a, c.memory.reg(a));
    out.push_back(std::move(reply));
  }
}

using Handler = void (*)(Context&, const std::vector<uint8_t>&, Replies&);

struct CommandRow {
  uint8_t command;
  Handler handler;
};

// Commands the device answers; every other code (87 among them) is ignored.
constexpr CommandRow kCommands[] = {
    {CMD_IDENTIFY, answerIdentify},        {CMD_RECALL_MODE, answerRecall},
    {CMD_WRITE_REGISTERS, answerWrite},    {CMD_READ_MODE_NAME, answerReadName},
    {CMD_READ_REGISTERS, answerRead},      {CMD_WRITE_MODE_NAME, answerWriteName},
    {CMD_DUMP_ALL, answerDump},
};

}  // namespace

std::vector<DeviceFrame> answerFrame(AmplifierMemory& memory, const SimConfig& config, const FaultConfig& faults,
                                     const DeviceFrame& frame) {
  Replies out;
  Context context{memory, config, faults};
  for (const CommandRow& row : kCommands) {
    if (row.command == frame.command) row.handler(context, frame.data, out);
  }
  return out;
}

}  // namespace zr78::sim
