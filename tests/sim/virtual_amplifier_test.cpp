// The virtual amplifier driven through its HidDevice endpoint with packets
// built here, independently of the device's own codec.
#include "sim/virtual_amplifier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "decimal_comma_locale.h"
#include "temp_dir.h"
#include <vector>

#include "link/frame_format.h"

namespace zr78::sim {
namespace {

using Bytes = std::vector<uint8_t>;
using RawReport = std::array<uint8_t, kReportSize>;

constexpr int kReplyWaitMs = 2000;  // generous: only a broken device waits this long
constexpr int kSilenceMs = 30;      // how long "no reply" is watched

struct Frame {
  uint8_t command = 0;
  Bytes data;
  int reports = 0;  // input reports that carried it
};

Bytes frameBytes(uint8_t command, const Bytes& data) {
  Bytes f = {0x80, static_cast<uint8_t>(data.size() <= 249 ? data.size() + 3 : 255), command};
  f.insert(f.end(), data.begin(), data.end());
  const uint16_t crc = crc16(f.data(), f.size());
  f.push_back(static_cast<uint8_t>(crc >> 8));
  f.push_back(static_cast<uint8_t>(crc));
  return f;
}

std::vector<RawReport> reportsOf(const Bytes& frame) {
  Bytes packet = {0xAE, 0x1E, static_cast<uint8_t>(frame.size() >> 8), static_cast<uint8_t>(frame.size()), 0xC8};
  packet.insert(packet.end(), frame.begin(), frame.end());
  std::vector<RawReport> reports;
  for (size_t at = 0; at < packet.size(); at += 64) {
    RawReport r{};
    for (size_t i = 0; i < 64 && at + i < packet.size(); ++i) r[1 + i] = packet[at + i];
    reports.push_back(r);
  }
  return reports;
}

Bytes entry(int address, int value) {
  return {static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

Bytes addressBytes(int address) { return {static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)}; }

Bytes concat(const std::vector<Bytes>& parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes nameBytes(int mode, const std::string& name) {
  Bytes d = {static_cast<uint8_t>(mode)};
  for (char ch : name) d.push_back(static_cast<uint8_t>(ch));
  return d;
}

int entryAddress(const Bytes& d, size_t i) { return d[4 * i] << 8 | d[4 * i + 1]; }
int entryValue(const Bytes& d, size_t i) { return d[4 * i + 2] << 8 | d[4 * i + 3]; }

class AmplifierTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(device().open()); }

  HidDevice& device() { return amp.hidDevice(); }

  void writeRaw(const RawReport& r) { ASSERT_EQ(device().writeReport(r.data()), 65); }
  void send(uint8_t command, const Bytes& data) {
    for (const RawReport& r : reportsOf(frameBytes(command, data))) writeRaw(r);
  }

  // The next frame from the device, checked here: packet header, frame
  // length, CRC. nullopt when nothing (or nothing valid) arrives in time.
  std::optional<Frame> receive(int timeoutMs = kReplyWaitMs) {
    RawReport r{};
    if (device().readReport(r.data(), timeoutMs) != 65) return std::nullopt;
    if (r[0] != 0 || r[1] != 0xAE || r[2] != 0x1E || r[5] != 0xC8) return std::nullopt;
    const size_t size = static_cast<size_t>(r[3] << 8 | r[4]);
    Bytes frame(r.begin() + 6, r.end());
    int reports = 1;
    while (frame.size() < size) {
      if (device().readReport(r.data(), timeoutMs) != 65) return std::nullopt;
      frame.insert(frame.end(), r.begin() + 1, r.end());
      ++reports;
    }
    frame.resize(size);
    if (size < 5 || frame[0] != 0x80 || frame[1] != std::min<size_t>(size - 2, 255)) return std::nullopt;
    if (crc16(frame.data(), size - 2) != (frame[size - 2] << 8 | frame[size - 1])) return std::nullopt;
    return Frame{frame[2], Bytes(frame.begin() + 3, frame.end() - 2), reports};
  }

  bool silent() {
    RawReport r{};
    return device().readReport(r.data(), kSilenceMs) == 0;
  }

  VirtualAmplifier amp;
};

TEST_F(AmplifierTest, WriteIsStoredAndEchoedEntryForEntry) {
  // 24 entries make a 101-byte frame in two reports.
  std::vector<Bytes> entries;
  for (int i = 0; i < 24; ++i) entries.push_back(entry(146 + i, 1000 + i));
  const Bytes data = concat(entries);
  send(CMD_WRITE_REGISTERS, data);
  const auto echo = receive();
  ASSERT_TRUE(echo);
  EXPECT_EQ(echo->command, CMD_WRITE_REGISTERS);
  EXPECT_EQ(echo->data, data);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(amp.reg(146 + i), 1000 + i);
  EXPECT_EQ(amp.framesReceived(CMD_WRITE_REGISTERS), 1);
}

TEST_F(AmplifierTest, WritesThatTheDeviceDoesNotStoreAreStillEchoed) {
  struct Case {
    const char* name;
    int address;
    int value;
  };
  const Case cases[] = {
      {"configuration word is read only", 1248, 0x03},
      {"identity register is read only", 0, 4095},
      {"no register beyond 1677", 1678, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto before = amp.registers();
    send(CMD_WRITE_REGISTERS, entry(c.address, c.value));
    const auto echo = receive();
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->data, entry(c.address, c.value));
    EXPECT_EQ(amp.registers(), before);
  }
}

TEST_F(AmplifierTest, ReadOf25AddressesComesInTwoReports) {
  Bytes request;
  for (int i = 0; i < 25; ++i) {
    const Bytes a = addressBytes(1234 + i);
    request.insert(request.end(), a.begin(), a.end());
  }
  send(CMD_READ_REGISTERS, request);
  const auto reply = receive();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->command, CMD_READ_REGISTERS);
  EXPECT_EQ(reply->reports, 2);
  ASSERT_EQ(reply->data.size(), 100u);  // a 105-byte frame
  for (size_t i = 0; i < 25; ++i) {
    EXPECT_EQ(entryAddress(reply->data, i), 1234 + static_cast<int>(i));
    EXPECT_EQ(entryValue(reply->data, i), amp.reg(1234 + static_cast<int>(i)));
  }
  EXPECT_EQ(entryValue(reply->data, 14), 0x24);  // 1248, the configuration word
}

TEST_F(AmplifierTest, ReadSkipsAddressesWithoutRegister) {
  send(CMD_READ_REGISTERS, concat({addressBytes(1677), addressBytes(1678), addressBytes(0xFFFF), addressBytes(5)}));
  const auto reply = receive();
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->data.size(), 8u);
  EXPECT_EQ(entryAddress(reply->data, 0), 1677);
  EXPECT_EQ(entryAddress(reply->data, 1), 5);
}

TEST_F(AmplifierTest, DumpStreamsEveryRegisterInAddressOrder) {
  amp.setReg(1677, 0xBEEF);
  send(CMD_DUMP_ALL, {0, 0, 0});
  int frames = 0;
  int next = 0;
  while (const auto reply = receive(200)) {
    ASSERT_EQ(reply->command, CMD_READ_REGISTERS);
    ++frames;
    for (size_t i = 0; i < reply->data.size() / 4; ++i) {
      ASSERT_EQ(entryAddress(reply->data, i), next);
      EXPECT_EQ(entryValue(reply->data, i), amp.reg(next));
      ++next;
    }
  }
  EXPECT_EQ(next, kRegisterCount);
  EXPECT_EQ(frames, 68);
  EXPECT_EQ(amp.reg(1677), 0xBEEF);
}

TEST_F(AmplifierTest, IdentityRepliesWithDeviceIdThenModeProtection) {
  SimConfig config;
  config.maxModeIndex = 5;
  config.modeLockMask = 0x81000004;
  amp.setConfig(config);
  send(CMD_IDENTIFY, {0});
  const auto id = receive();
  const auto protection = receive();
  ASSERT_TRUE(id && protection);
  EXPECT_EQ(id->command, CMD_IDENTIFY);
  EXPECT_EQ(id->data, (Bytes{0x0F, 0xC5, 0, 0}));  // 4037
  EXPECT_EQ(protection->command, CMD_IDENTIFY);
  EXPECT_EQ(protection->data, (Bytes{1, 5, 0x04, 0x00, 0x00, 0x81}));
  EXPECT_TRUE(silent());
}

TEST_F(AmplifierTest, CommandsWithoutReply) {
  struct Case {
    const char* name;
    uint8_t command;
    Bytes data;
    SimConfig config;
  };
  SimConfig noIdentity;
  noIdentity.answerIdentity = false;
  SimConfig refusing;
  refusing.refuseRecall = true;
  const Case cases[] = {
      {"identity disabled", CMD_IDENTIFY, {0}, noIdentity},
      {"recall refused", CMD_RECALL_MODE, {2}, refusing},
      {"recall of mode 0", CMD_RECALL_MODE, {0}, {}},
      {"recall of mode 7", CMD_RECALL_MODE, {7}, {}},
      {"name of mode 0", CMD_READ_MODE_NAME, {0}, {}},
      {"name of mode 7", CMD_READ_MODE_NAME, {7}, {}},
      {"name write for mode 9", CMD_WRITE_MODE_NAME, nameBytes(9, "x"), {}},
      {"module text", CMD_MODULE_TEXT, {'G', 'e', 't', '_', 'I', 'P', ':', 0, 0}, {}},
      {"unknown command", 0x55, {1, 2, 3}, {}},
  };
  amp.setReg(26, 123);  // differs from every mode, so a recall would show
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    amp.setConfig(c.config);
    const auto before = amp.registers();
    amp.resetCounters();
    send(c.command, c.data);
    EXPECT_TRUE(silent());
    EXPECT_EQ(amp.framesReceived(c.command), 1);  // received, just not answered
    EXPECT_EQ(amp.registers(), before);
  }
}

TEST_F(AmplifierTest, Register0FollowsTheConfiguration) {
  SimConfig config;
  config.register0 = 4095;
  amp.setConfig(config);
  send(CMD_READ_REGISTERS, addressBytes(0));
  const auto reply = receive();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->data, entry(0, 4095));
}

TEST_F(AmplifierTest, RecallCopiesTheModeImageAndAcknowledges) {
  std::array<int32_t, kRegisterCount> image = amp.modeImage(2);
  send(CMD_WRITE_REGISTERS, concat({entry(26, 480), entry(1614, 1), entry(1244, 1)}));
  ASSERT_TRUE(receive());
  send(CMD_RECALL_MODE, {2});
  const auto ack = receive();
  ASSERT_TRUE(ack);
  EXPECT_EQ(ack->command, CMD_RECALL_MODE);
  EXPECT_EQ(ack->data, Bytes{2});
  const auto now = amp.registers();
  EXPECT_EQ(now[26], image[26]);
  EXPECT_EQ(now[1614], image[1614]);
  EXPECT_EQ(now[1242], 2);   // the active mode
  EXPECT_EQ(now[1243], 0);   // the mode command word
  EXPECT_EQ(now[1244], 1);   // device-wide: kept
  EXPECT_EQ(now[1248], 0x24);
}

TEST_F(AmplifierTest, ModeCommandWordStoresAndRecalls) {
  send(CMD_WRITE_REGISTERS, concat({entry(26, 555), entry(1243, 0x0704)}));
  ASSERT_TRUE(receive());
  EXPECT_EQ(amp.modeImage(4)[26], 555);
  EXPECT_EQ(amp.modeName(4), "Mode 4");
  EXPECT_NE(amp.modeImage(3)[26], 555);

  send(CMD_WRITE_REGISTERS, concat({entry(26, 600), entry(1243, 0x0604)}));
  ASSERT_TRUE(receive());
  EXPECT_EQ(amp.reg(26), 555);
  EXPECT_EQ(amp.reg(1242), 4);
  EXPECT_EQ(amp.reg(1243), 0);
}

TEST_F(AmplifierTest, NameWriteStoresTheWorkingRegistersUnderTheName) {
  send(CMD_WRITE_REGISTERS, entry(1614, 1));
  ASSERT_TRUE(receive());
  send(CMD_WRITE_MODE_NAME, nameBytes(5, "Stage               "));
  ASSERT_TRUE(receive());
  EXPECT_EQ(amp.modeImage(5), amp.registers());
  EXPECT_EQ(amp.modeImage(5)[1614], 1);
  EXPECT_NE(amp.modeImage(4)[1614], 1);
  EXPECT_EQ(amp.reg(1242), 3);  // the active mode stays
}

TEST_F(AmplifierTest, NameWriteThenRead) {
  struct Case {
    const char* name;
    int mode;
    std::string written;
    std::string stored;
  };
  const Case cases[] = {
      {"longer than 20 is cut", 3, "A very long mode name 1234", "A very long mode nam"},
      {"padded name loses its blanks", 6, "Bass                ", "Bass"},
      {"only blanks", 1, "                    ", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    send(CMD_WRITE_MODE_NAME, nameBytes(c.mode, c.written));
    const auto ack = receive();
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->command, CMD_WRITE_MODE_NAME);
    EXPECT_EQ(ack->data, Bytes{static_cast<uint8_t>(c.mode)});
    EXPECT_EQ(amp.modeName(c.mode), c.stored);

    send(CMD_READ_MODE_NAME, {static_cast<uint8_t>(c.mode)});
    const auto reply = receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->command, CMD_READ_MODE_NAME);
    EXPECT_EQ(reply->data, nameBytes(c.mode, c.stored + std::string(25 - c.stored.size(), ' ')));
  }
}

TEST_F(AmplifierTest, BrokenInputIsDroppedWithoutReply) {
  Bytes badCrc = frameBytes(CMD_READ_REGISTERS, addressBytes(0));
  badCrc.back() ^= 1;
  Bytes badLength = frameBytes(CMD_READ_REGISTERS, addressBytes(0));
  badLength[1] = 6;
  Bytes badStart = frameBytes(CMD_READ_REGISTERS, addressBytes(0));
  badStart[0] = 0x81;
  RawReport noPacket{};
  noPacket[1] = 0x80;  // frame bytes without a packet header
  RawReport hugePacket = reportsOf(badCrc)[0];
  hugePacket[3] = 0xFF;  // F = 65287: more than any packet
  struct Case {
    const char* name;
    std::vector<RawReport> reports;
  };
  const Case cases[] = {
      {"bad CRC", reportsOf(badCrc)},
      {"length byte does not fit", reportsOf(badLength)},
      {"no start byte", reportsOf(badStart)},
      {"piece without packet", {noPacket}},
      {"oversized packet", {hugePacket, noPacket}},
      {"second piece of a 24-entry write lost", {reportsOf(frameBytes(CMD_WRITE_REGISTERS, Bytes(96, 1)))[0]}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const RawReport& r : c.reports) writeRaw(r);
    EXPECT_TRUE(silent());
  }
  EXPECT_EQ(amp.framesReceived(CMD_READ_REGISTERS), 0);
  EXPECT_EQ(amp.framesReceived(CMD_WRITE_REGISTERS), 0);
  // The device is still in step: the next packet is answered.
  send(CMD_READ_REGISTERS, addressBytes(1249));
  const auto reply = receive();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->data, entry(1249, 500));
}

TEST_F(AmplifierTest, SilentDeviceCountsButNeverAnswers) {
  FaultConfig faults;
  faults.silent = true;
  amp.setFaults(faults);
  send(CMD_IDENTIFY, {0});
  send(CMD_WRITE_REGISTERS, entry(26, 1));
  EXPECT_TRUE(silent());
  EXPECT_EQ(amp.framesReceived(CMD_IDENTIFY), 1);
  EXPECT_EQ(amp.reg(26), 1);  // it still listens
}

TEST_F(AmplifierTest, DelayedReplyIsNotReadableAtOnce) {
  FaultConfig faults;
  faults.delayMs = 1000;  // far longer than the step from write to read
  amp.setFaults(faults);
  send(CMD_READ_REGISTERS, addressBytes(0));
  RawReport r{};
  EXPECT_EQ(device().readReport(r.data(), 0), 0);
  EXPECT_TRUE(receive());
}

TEST_F(AmplifierTest, PacedLinkDeliversEverything) {
  SimConfig config;
  config.reportIntervalUs = 100;
  amp.setConfig(config);
  send(CMD_DUMP_ALL, {0, 0, 0});
  int entries = 0;
  while (const auto reply = receive(200)) entries += static_cast<int>(reply->data.size() / 4);
  EXPECT_EQ(entries, kRegisterCount);
}

TEST_F(AmplifierTest, UnplugFailsTheEndpointUntilReplugAndReopen) {
  RawReport r{};
  const RawReport request = reportsOf(frameBytes(CMD_READ_REGISTERS, addressBytes(0)))[0];
  ASSERT_EQ(device().writeReport(request.data()), 65);  // a reply is queued...
  amp.unplug();
  EXPECT_FALSE(amp.plugged());
  EXPECT_EQ(device().readReport(r.data(), 0), -1);  // ...and gone with the handle
  EXPECT_EQ(device().writeReport(request.data()), -1);
  EXPECT_FALSE(device().open());
  amp.replug();
  EXPECT_EQ(device().readReport(r.data(), 0), -1);  // the old handle stays dead
  ASSERT_TRUE(device().open());
  EXPECT_TRUE(silent());
  ASSERT_EQ(device().writeReport(request.data()), 65);
  EXPECT_TRUE(receive());
  EXPECT_EQ(amp.framesReceived(CMD_READ_REGISTERS), 2);
}

TEST_F(AmplifierTest, UnplugAndCloseEndAWaitingRead) {
  struct Case {
    const char* name;
    void (*end)(VirtualAmplifier&);
  };
  const Case cases[] = {
      {"unplug", [](VirtualAmplifier& a) { a.unplug(); }},
      {"close", [](VirtualAmplifier& a) { a.hidDevice().close(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    amp.replug();
    ASSERT_TRUE(device().open());
    std::atomic<int> result{1};
    std::thread reader([&] {
      RawReport r{};
      result = device().readReport(r.data(), -1);  // no limit: only the end can stop it
    });
    c.end(amp);
    reader.join();
    EXPECT_EQ(result.load(), -1);
  }
}

// The host's pattern: a reader thread drains input while a worker writes
// on a paced link.
TEST_F(AmplifierTest, ReaderAndWriterThreadsShareTheEndpoint) {
  SimConfig config;
  config.reportIntervalUs = 50;
  amp.setConfig(config);
  constexpr int kRequests = 100;
  std::atomic<int> replies{0};
  std::thread reader([&] {
    while (replies < kRequests) {
      const auto reply = receive(500);
      if (!reply) break;
      if (reply->command == CMD_READ_REGISTERS && reply->data.size() == 4) ++replies;
    }
  });
  for (int i = 0; i < kRequests; ++i) send(CMD_READ_REGISTERS, addressBytes(i));
  reader.join();
  EXPECT_EQ(replies.load(), kRequests);
  EXPECT_EQ(amp.framesReceived(CMD_READ_REGISTERS), kRequests);
}

// Both directions suffer: requests lost before the device, replies lost or
// corrupted on the way back. The raw input is recorded byte for byte.
std::vector<RawReport> trafficUnderFaults(uint32_t seed) {
  VirtualAmplifier amp;
  FaultConfig faults;
  faults.lossRate = 0.2;
  faults.corruptRate = 0.3;
  faults.seed = seed;
  amp.setFaults(faults);
  HidDevice& device = amp.hidDevice();
  EXPECT_TRUE(device.open());
  std::vector<RawReport> input;
  for (int address = 0; address < 60; ++address) {
    const RawReport request =
        reportsOf(frameBytes(CMD_READ_REGISTERS, {static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)}))[0];
    device.writeReport(request.data());
    RawReport r{};
    while (device.readReport(r.data(), 0) == 65) input.push_back(r);
  }
  return input;
}

TEST(AmplifierFaults, LossAndCorruptionRepeatForTheSameSeed) {
  const auto first = trafficUnderFaults(7);
  EXPECT_EQ(trafficUnderFaults(7), first);
  EXPECT_NE(trafficUnderFaults(8), first);
  EXPECT_LT(first.size(), 60u);  // some were lost
  EXPECT_GT(first.size(), 20u);
  int damaged = 0;
  for (size_t i = 0; i < first.size(); ++i) {
    const RawReport& r = first[i];
    const size_t size = static_cast<size_t>(r[3] << 8 | r[4]);
    const bool intact = r[1] == 0xAE && r[2] == 0x1E && r[5] == 0xC8 && size == 9 &&
                        crc16(&r[6], 7) == (r[13] << 8 | r[14]) &&
                        std::all_of(r.begin() + 15, r.end(), [](uint8_t b) { return b == 0; });
    damaged += intact ? 0 : 1;
  }
  EXPECT_GT(damaged, 0);
}

class AmplifierStateTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  test::TempDir temp_{"zr78-sim-state-"};
  const std::filesystem::path dir_ = temp_.path();
};

TEST_F(AmplifierStateTest, SaveAndLoadRoundTrip) {
  VirtualAmplifier original;
  original.setReg(26, 480);
  original.setReg(1677, 0xFFFF);
  original.setModeName(2, "Quote \" and \\ slash");
  original.setModeName(5, std::string("Caf\xE9\x01", 5));
  original.setReg(300, 42);
  ASSERT_TRUE(original.hidDevice().open());
  const auto store = reportsOf(frameBytes(CMD_WRITE_REGISTERS, entry(1243, 0x0705)));
  ASSERT_EQ(original.hidDevice().writeReport(store[0].data()), 65);
  const std::string file = path("memory.txt");
  ASSERT_TRUE(original.saveState(file));

  VirtualAmplifier copy;
  ASSERT_TRUE(copy.loadState(file));
  EXPECT_EQ(copy.registers(), original.registers());
  for (int m = 1; m <= 6; ++m) {
    EXPECT_EQ(copy.modeName(m), original.modeName(m)) << m;
    EXPECT_EQ(copy.modeImage(m), original.modeImage(m)) << m;
  }
  EXPECT_EQ(copy.modeImage(5)[300], 42);
}

// A program that sets the C++ global locale to one with digit grouping must
// still write "8864", not "8.864", or its own state file reads as damaged.
TEST_F(AmplifierStateTest, SavedUnderADecimalCommaLocaleLoadsBack) {
  VirtualAmplifier original;
  original.setReg(1677, 0xFFFF);
  const std::string file = path("memory.txt");
  {
    test::DecimalCommaLocale locale;
    ASSERT_TRUE(locale.active()) << test::kNoDecimalCommaLocale;
    ASSERT_TRUE(original.saveState(file));
  }
  VirtualAmplifier copy;
  ASSERT_TRUE(copy.loadState(file));
  EXPECT_EQ(copy.registers(), original.registers());
}

TEST_F(AmplifierStateTest, HardwareRegistersFollowTheConfigurationNotTheFile) {
  VirtualAmplifier saved;
  const std::string file = path("memory.txt");
  ASSERT_TRUE(saved.saveState(file));
  SimConfig config;
  config.register0 = 4095;
  config.configWord = 0x03;
  VirtualAmplifier loaded(config);
  ASSERT_TRUE(loaded.loadState(file));
  EXPECT_EQ(loaded.reg(0), 4095);
  EXPECT_EQ(loaded.reg(1248), 0x03);
}

TEST_F(AmplifierStateTest, DamagedFileIsRejectedAndChangesNothing) {
  VirtualAmplifier source;
  const std::string good = path("good.txt");
  ASSERT_TRUE(source.saveState(good));
  std::string text;
  {
    std::ifstream in(good, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = text;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  struct Case {
    const char* name;
    std::string content;
  };
  const Case cases[] = {
      {"empty", ""},
      {"truncated", text.substr(0, text.size() / 2)},
      {"no end", text.substr(0, text.rfind("end"))},
      {"other version", replaced("state 1", "state 2")},
      {"value out of range", replaced("\n0: 8864", "\n0: 65536")},
      {"not a number", replaced("\n0: 8864", "\n0: 88x4")},
      {"row address wrong", replaced("\n16: ", "\n17: ")},
      {"mode out of order", replaced("mode 3 ", "mode 4 ")},
      {"bad escape", replaced("\"Mode 2\"", "\"Mode \\x2\"")},
      {"text after end", text + "working\n"},
      {"binary garbage", std::string("\x00\xFF\x80zr78", 7)},
  };
  VirtualAmplifier target;
  target.setReg(26, 321);
  target.setModeName(1, "Kept");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = path("damaged.txt");
    {
      std::ofstream out(file, std::ios::binary | std::ios::trunc);
      out << c.content;
    }
    EXPECT_FALSE(target.loadState(file));
    EXPECT_EQ(target.reg(26), 321);
    EXPECT_EQ(target.modeName(1), "Kept");
  }
  EXPECT_FALSE(target.loadState(path("missing.txt")));
  EXPECT_FALSE(target.saveState(path("no_such_dir/memory.txt")));
}

}  // namespace
}  // namespace zr78::sim

namespace zr78::sim {
namespace {

// Replies with random delays arrive in the order of the requests, and a
// duplicated reply arrives twice in a row.
TEST_F(AmplifierTest, DelayedRepliesKeepTheirOrderAndDuplicatesComeTwice) {
  FaultConfig faults;
  faults.delayMs = 0;
  faults.delayMaxMs = 40;
  faults.duplicateRate = 0.3;
  faults.seed = 5;
  amp.setFaults(faults);
  for (int a = 0; a < 30; ++a) send(CMD_READ_REGISTERS, addressBytes(a));
  std::vector<int> order;
  while (const auto reply = receive(200)) order.push_back(entryAddress(reply->data, 0));
  ASSERT_GT(order.size(), 30u) << "some replies came twice";
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  for (int a = 0; a < 30; ++a) {
    const auto n = std::count(order.begin(), order.end(), a);
    EXPECT_TRUE(n == 1 || n == 2) << a;
  }
}

// A stalled amplifier holds every write: closing the handle does not end
// the wait (as with a write hanging in the kernel); lifting the stall or an
// unplug does.
TEST_F(AmplifierTest, AStalledAmplifierHoldsWritesUntilTheStallEnds) {
  struct Case {
    const char* name;
    void (*end)(VirtualAmplifier&);
    int result;
  };
  const Case cases[] = {
      {"stall lifted", [](VirtualAmplifier& a) { a.setFaults({}); }, 65},
      {"unplug", [](VirtualAmplifier& a) { a.unplug(); }, -1},
  };
  const RawReport request = reportsOf(frameBytes(CMD_READ_REGISTERS, addressBytes(0)))[0];
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    amp.replug();
    ASSERT_TRUE(device().open());
    FaultConfig stall;
    stall.stall = true;
    amp.setFaults(stall);
    std::atomic<int> result{0};
    std::atomic<bool> returned{false};
    std::thread writer([&] {
      result = device().writeReport(request.data());
      returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned.load());
    device().close();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned.load()) << "closing does not end a held write";
    c.end(amp);
    writer.join();
    // The handle was closed meanwhile: the write that goes on fails.
    EXPECT_EQ(result.load(), -1);
    EXPECT_EQ(amp.framesReceived(CMD_READ_REGISTERS), 0) << "a stalled amplifier received nothing";
  }
}

TEST_F(AmplifierTest, AStalledAmplifierCanBeDestroyedWithAWriteHeld) {
  auto doomed = std::make_unique<VirtualAmplifier>();
  HidDevice& endpoint = doomed->hidDevice();
  ASSERT_TRUE(endpoint.open());
  FaultConfig stall;
  stall.stall = true;
  doomed->setFaults(stall);
  std::atomic<int> result{0};
  std::thread writer([&] {
    const RawReport r{};
    result = endpoint.writeReport(r.data());
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  doomed.reset();  // waits for the writer to leave
  writer.join();
  EXPECT_EQ(result.load(), -1);
}

TEST(AmplifierMemoryTest, RandomisedMemoryDiffersFromTheDefaults) {
  VirtualAmplifier amp;
  const auto factory = amp.registers();
  amp.randomiseMemory(3);
  const auto used = amp.registers();
  int differing = 0;
  for (int a = 0; a < kRegisterCount; ++a) differing += used[a] != factory[a];
  EXPECT_GT(differing, kRegisterCount - 20);
  EXPECT_EQ(used[kIdentityRegister], factory[kIdentityRegister]) << "hardware registers stay";
  EXPECT_EQ(used[kDeviceConfigurationRegister], factory[kDeviceConfigurationRegister]);
  EXPECT_GE(used[kActiveModeRegister], 1);
  EXPECT_LE(used[kActiveModeRegister], kModeCount);
  EXPECT_NE(amp.modeImage(2), factory) << "the modes too";
  VirtualAmplifier again;
  again.randomiseMemory(3);
  EXPECT_EQ(again.registers(), used) << "the same seed, the same memory";
}

}  // namespace
}  // namespace zr78::sim
