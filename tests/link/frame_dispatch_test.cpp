#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "link/receiver_rig.h"

namespace zr78 {
namespace {

using test::Bytes;
using test::entries;
using test::operator+;
using test::textBytes;

struct DispatchCase {
  const char* name;
  uint8_t command;
  Bytes data;
  std::function<void(RegisterTable&, LinkState&)> before;  // may be empty
  std::function<void(const RegisterTable&, const LinkState&)> check;
  bool releases;
};

// Two bytes the module puts after its text.
const Bytes kTextEnd = {'\r', '\n'};

TEST(FrameDispatchTest, Commands) {
  // An edit the worker has sent three times.
  auto dirty = [](int address, int32_t value) {
    return [=](RegisterTable& t, LinkState&) {
      t.setRegister(address, value);
      for (int n = 0; n < 3; ++n) t.beginSend(address);
    };
  };
  const DispatchCase cases[] = {
      {"identity", CMD_IDENTIFY, {0x0F, 0xC5}, {},
       [](auto&, auto& s) { EXPECT_EQ(s.deviceId.load(), 4037); }, true},
      {"identity ignores the bytes after the id", CMD_IDENTIFY, {0x0F, 0xC5, 0x01, 0x02}, {},
       [](auto&, auto& s) { EXPECT_EQ(s.deviceId.load(), 4037); }, true},
      {"identity with one byte changes nothing", CMD_IDENTIFY, {0x0F}, {},
       [](auto&, auto& s) { EXPECT_EQ(s.deviceId.load(), 0); }, true},
      {"mode protection, mask little-endian", CMD_IDENTIFY, {0x01, 5, 0x04, 0x00, 0x00, 0x80}, {},
       [](auto&, auto& s) {
         EXPECT_EQ(s.maxModeIndex.load(), 5);
         EXPECT_EQ(s.modeLockMask.load(), 0x80000004u);
         EXPECT_EQ(s.deviceId.load(), 0);
       }, true},
      {"mode protection, second form", CMD_IDENTIFY, {0x02, 3, 0x10, 0x00, 0x00, 0x00}, {},
       [](auto&, auto& s) {
         EXPECT_EQ(s.maxModeIndex.load(), 3);
         EXPECT_EQ(s.modeLockMask.load(), 0x10u);
       }, true},
      {"mode protection too short changes nothing", CMD_IDENTIFY, {0x01, 5}, {},
       [](auto&, auto& s) {
         EXPECT_EQ(s.maxModeIndex.load(), 6);
         EXPECT_EQ(s.deviceId.load(), 0) << "not an identity either";
       }, true},
      {"recall acknowledged", CMD_RECALL_MODE, {}, {},
       [](auto&, auto& s) { EXPECT_EQ(s.recallAck.load(), 1u); }, true},
      {"name written", CMD_WRITE_MODE_NAME, {0x01}, {},
       [](auto&, auto& s) { EXPECT_EQ(s.nameWriteAck.load(), 1u); }, true},
      {"echo clears dirty and tries", CMD_WRITE_REGISTERS, entries({{20, 7}}), dirty(20, 7),
       [](auto& t, auto&) {
         EXPECT_FALSE(t.dirty(20));
         EXPECT_EQ(t.tries(20), 0);
       }, true},
      {"echo of an older value leaves dirty", CMD_WRITE_REGISTERS, entries({{20, 6}}), dirty(20, 7),
       [](auto& t, auto&) {
         EXPECT_TRUE(t.dirty(20));
         EXPECT_EQ(t.tries(20), 3);
       }, true},
      {"echo compares the low 16 bits", CMD_WRITE_REGISTERS, entries({{21, 0x2345}}), dirty(21, 0x12345),
       [](auto& t, auto&) { EXPECT_FALSE(t.dirty(21)); }, true},
      {"echo beyond the device's registers is ignored", CMD_WRITE_REGISTERS, entries({{1678, 0}}),
       [](auto& t, auto&) { t.setDirty(1678, true); },
       [](auto& t, auto&) { EXPECT_TRUE(t.dirty(1678)); }, true},
      {"echo: a trailing partial entry is not used", CMD_WRITE_REGISTERS,
       entries({{20, 7}}) + Bytes{0x00, 21, 0x00}, [dirty](auto& t, auto& s) {
         dirty(20, 7)(t, s);
         t.setRegister(21, 0);
       },
       [](auto& t, auto&) {
         EXPECT_FALSE(t.dirty(20));
         EXPECT_TRUE(t.dirty(21));
       }, true},
      {"read reply stores and flags", CMD_READ_REGISTERS, entries({{26, 590}, {1677, 0xFFFF}}), {},
       [](auto& t, auto&) {
         EXPECT_EQ(t.getRegister(26), 590);
         EXPECT_EQ(t.getRegister(1677), 0xFFFF) << "zero-extended";
         EXPECT_TRUE(t.fromDevice(26));
         EXPECT_TRUE(t.fromDevice(1677));
       }, true},
      {"read reply: 1678 is stored, 1679 is not", CMD_READ_REGISTERS, entries({{1678, 5}, {1679, 6}}), {},
       [](auto& t, auto&) {
         EXPECT_TRUE(t.fromDevice(1678));
         EXPECT_EQ(t.recordValue(1678), 5);
         EXPECT_FALSE(t.fromDevice(1679));
         EXPECT_EQ(t.recordValue(1679), 0);
       }, true},
      {"read reply for a pending edit keeps the edit", CMD_READ_REGISTERS, entries({{1234, 3}}),
       [](auto& t, auto&) { t.setRegister(1234, 5); },
       [](auto& t, auto&) {
         EXPECT_EQ(t.getRegister(1234), 5);
         EXPECT_TRUE(t.dirty(1234)) << "the edit is still sent";
         EXPECT_TRUE(t.fromDevice(1234));
       }, true},
      {"read reply: a trailing partial entry is not used", CMD_READ_REGISTERS,
       entries({{20, 258}}) + Bytes{0x00, 21, 0x05}, {},
       [](auto& t, auto&) {
         EXPECT_EQ(t.getRegister(20), 258);
         EXPECT_FALSE(t.fromDevice(21));
       }, true},
      {"active mode locked", CMD_READ_REGISTERS, entries({{1242, 2}}),
       [](auto&, auto& s) { s.modeLockMask.store(0x04); },
       [](auto& t, auto& s) {
         EXPECT_EQ(s.modeLocked.load(), 1u);
         EXPECT_EQ(t.getRegister(1242), 2);
       }, true},
      {"active mode unlocked", CMD_READ_REGISTERS, entries({{1242, 1}}),
       [](auto&, auto& s) {
         s.modeLockMask.store(0x04);
         s.modeLocked.store(1);
       },
       [](auto&, auto& s) { EXPECT_EQ(s.modeLocked.load(), 0u); }, true},
      {"active mode above maxModeIndex leaves modeLocked", CMD_READ_REGISTERS, entries({{1242, 7}}),
       [](auto&, auto& s) {
         s.modeLockMask.store(0x80);
         s.modeLocked.store(0);
       },
       [](auto& t, auto& s) {
         EXPECT_EQ(s.modeLocked.load(), 0u);
         EXPECT_EQ(t.getRegister(1242), 7) << "the value itself is stored";
       }, true},
      {"mode name with trailing blanks", CMD_READ_MODE_NAME, Bytes{3} + textBytes("Bass  \t"),
       [](auto& t, auto&) { t.setRegister(1243, 0x0605); },
       [](auto& t, auto& s) {
         EXPECT_EQ(s.modeNames[2].toString(), "Bass");
         EXPECT_EQ(s.modeNameBuffer.toString(), "Bass");
         EXPECT_EQ(s.modeNameFlags[2].load(), 1u);
         EXPECT_EQ(s.nameReadAck.load(), 1u);
         EXPECT_EQ(s.modeNameReceived.load(), 1u);
         // Only the names: a recall the user asked for stays as it was.
         EXPECT_EQ(t.getRegister(1243), 0x0605);
         EXPECT_FALSE(t.fromDevice(1243));
         EXPECT_TRUE(t.dirty(1243));
       }, true},
      {"mode name: units above 'z' are trimmed, the first two kept", CMD_READ_MODE_NAME,
       Bytes{1, 'A', ' ', ' ', '{', 0x7F, 0xE9}, {},
       [](auto&, auto& s) { EXPECT_EQ(s.modeNames[0].toString(), "A "); }, true},
      {"mode name: at most 25 units", CMD_READ_MODE_NAME,
       Bytes{2} + textBytes("abcdefghijklmnopqrstuvwxyzABCD"), {},
       [](auto&, auto& s) { EXPECT_EQ(s.modeNames[1].toString(), "abcdefghijklmnopqrstuvwxy"); }, true},
      {"mode name: mode 7 is entry 1", CMD_READ_MODE_NAME, Bytes{7} + textBytes("Seven"), {},
       [](auto&, auto& s) {
         EXPECT_EQ(s.modeNames[0].toString(), "Seven");
         EXPECT_EQ(s.modeNameFlags[0].load(), 1u);
       }, true},
      {"mode name for mode 0 is ignored", CMD_READ_MODE_NAME, Bytes{0} + textBytes("Zero"), {},
       [](auto& t, auto& s) {
         EXPECT_EQ(s.nameReadAck.load(), 0u);
         EXPECT_EQ(s.modeNameBuffer.toString(), "");
         EXPECT_FALSE(t.fromDevice(1243));
       }, false},
      {"module text acknowledgement", CMD_MODULE_TEXT, textBytes("Set_HotPW:OK") + kTextEnd, {},
       [](auto&, auto& s) { EXPECT_EQ(s.wifiAcks[kAckHotPW].load(), 1); }, true},
      {"module text: the first key in order wins", CMD_MODULE_TEXT,
       textBytes("Set_RoutePW:1 Set_RouteSSID:x") + kTextEnd, {},
       [](auto&, auto& s) {
         EXPECT_EQ(s.wifiAcks[kAckRouteSSID].load(), 1);
         EXPECT_EQ(s.wifiAcks[kAckRoutePW].load(), 0);
       }, true},
      {"module text: a Get_ reply consumes it", CMD_MODULE_TEXT, textBytes("Get_IP:Set_Restart:") + kTextEnd, {},
       [](auto&, auto& s) { EXPECT_EQ(s.wifiAcks[kAckRestart].load(), 0); }, true},
      {"module text: the last two bytes are not text", CMD_MODULE_TEXT, textBytes("Set_Restart:"), {},
       [](auto&, auto& s) { EXPECT_EQ(s.wifiAcks[kAckRestart].load(), 0); }, true},
      {"module text of one byte", CMD_MODULE_TEXT, {'S'}, {},
       [](auto&, auto& s) {
         for (const auto& ack : s.wifiAcks) EXPECT_EQ(ack.load(), 0);
       }, true},
      {"unknown command is a sign of life only", 0x55, {0x01, 0x02}, {},
       [](auto&, auto& s) { EXPECT_EQ(s.missCount.load(), 0); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto rig = std::make_unique<test::ReceiverRig>();
    if (c.before) c.before(rig->table, rig->state);
    rig->state.missCount.store(2);
    rig->state.awaitingReply.store(1);
    rig->receive(c.command, c.data);
    c.check(rig->table, rig->state);
    EXPECT_EQ(rig->state.replySemaphore.tryTake(), c.releases);
  }
}

TEST(FrameDispatchTest, ReleasesOnlyWhileAwaiting) {
  test::ReceiverRig rig;
  rig.receive(CMD_RECALL_MODE, {});
  EXPECT_FALSE(rig.state.replySemaphore.tryTake());
  rig.state.awaitingReply.store(1);
  rig.receive(CMD_RECALL_MODE, {});
  rig.receive(CMD_RECALL_MODE, {});
  EXPECT_TRUE(rig.state.replySemaphore.tryTake());
  EXPECT_FALSE(rig.state.replySemaphore.tryTake()) << "a second release is absorbed";
}

}  // namespace
}  // namespace zr78
