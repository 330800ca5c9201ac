#include "registers/register_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/signal.h"

namespace zr78 {
namespace {

class RegisterTableTest : public ::testing::Test {
 protected:
  void SetUp() override { table.initRegisters(); }
  RegisterTable table;
};

struct DefaultCase {
  const char* name;
  int address;
  int32_t value;
};

TEST_F(RegisterTableTest, DefaultImage) {
  const DefaultCase cases[] = {
      {"identity", 0, 8864},
      {"volume first", 12, 600},
      {"volume last", 19, 600},
      {"gain ch7", 33, 600},
      {"role ch0", 50, 6},
      {"role ch5", 55, 24},
      {"role ch6", 56, 0},
      {"block 58..72", 72, 1},
      {"limiter attack ch0", 84, 450},
      {"limiter release ch3", 85 + 21, 8},
      {"limiter threshold ch7", 86 + 49, 525},
      {"limiter group ch7 ends at 137", 137, 20},
      {"138 belongs to channel 0's block", 138, 14},
      {"ch0 hp freq", 139, 10},
      {"ch0 lp freq", 143, 20600},
      {"ch0 band 1 shape", 146, 7},
      {"ch0 band 1 freq 20.1 Hz", 147, 32969},
      {"ch0 band 1 gain", 148, 500},
      {"ch0 band 1 q", 149, 400},
      {"ch0 band 8 freq", 147 + 4 * 7, 101},
      {"ch0 band 31 freq", 147 + 4 * 30, 20200},
      {"ch0 offset 133", 138 + 133, 20000},
      {"ch4 hp freq", 139 + 136 * 4, 315},
      {"ch4 lp freq", 143 + 136 * 4, 1500},
      {"ch5 hp freq", 139 + 136 * 5, 37},
      {"ch5 lp freq", 143 + 136 * 5, 315},
      {"ch6 hp code", 138 + 136 * 6, 20},
      {"ch7 hp freq 10 Hz", 139 + 136 * 7, 32868},
      {"ch7 lp code", 142 + 136 * 7, 21},
      {"ch7 block end", 273 + 136 * 7, 400},
      {"input source", 1234, 4},
      {"password 0", 1239, kDefaultPasswordWord0},
      {"password 1", 1240, kDefaultPasswordWord1},
      {"active mode", 1242, 3},
      {"noise gate", 1245, 3},
      {"config word", 1248, 2},
      {"DBB", 1249, 500},
      {"last register", 1677, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(table.getRegister(c.address), c.value) << c.name;
}

// The worker's send of a record, as a batch takes it.
int32_t sent(RegisterTable& table, int address) {
  const SendStep step = table.beginSend(address);
  EXPECT_EQ(step.kind, SendStep::Kind::Send) << "register " << address;
  return step.value;
}

TEST_F(RegisterTableTest, EditSendAndEcho) {
  table.setRegister(1234, 5);
  EXPECT_TRUE(table.dirty(1234));
  EXPECT_FALSE(table.acknowledge(1234, 5)) << "nothing was sent yet";
  EXPECT_EQ(sent(table, 1234), 5);
  EXPECT_EQ(table.tries(1234), 1);
  EXPECT_FALSE(table.acknowledge(1234, 3));
  EXPECT_TRUE(table.dirty(1234)) << "an echo of another value leaves the record dirty";
  EXPECT_TRUE(table.acknowledge(1234, 5));
  EXPECT_FALSE(table.dirty(1234));
  EXPECT_EQ(table.tries(1234), 0);
  EXPECT_EQ(table.beginSend(1234).kind, SendStep::Kind::Skip) << "a clean record is not sent";
}

TEST_F(RegisterTableTest, AcknowledgeComparesLow16Bits) {
  table.setRegister(20, 0x12345);
  EXPECT_EQ(sent(table, 20), 0x12345);
  EXPECT_TRUE(table.acknowledge(20, 0x2345));
}

// Each step acts on register 148 and says what the record holds afterwards.
struct Step {
  const char* what;
  std::function<void(RegisterTable&)> act;
  bool dirty;
};

TEST_F(RegisterTableTest, AnEchoClearsOnlyTheGenerationSent) {
  const auto set = [](int32_t v) { return [v](RegisterTable& t) { t.setRegister(148, v); }; };
  const auto send = [](RegisterTable& t) { t.beginSend(148); };
  const auto echo = [](uint16_t v) { return [v](RegisterTable& t) { t.acknowledge(148, v); }; };
  const struct {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"the same value set again after the send",
       {{"set 520", set(520), true}, {"send", send, true}, {"set 520 again", set(520), true},
        {"echo of the first send", echo(520), true}, {"send", send, true}, {"echo", echo(520), false}}},
      {"set back after another value, the last send lost, a late echo of the first",
       {{"set A", set(520), true}, {"send A", send, true}, {"set B", set(530), true}, {"send B", send, true},
        {"set A again", set(520), true}, {"send A (lost)", send, true},
        {"late echo of the first A", echo(520), false},
        // The device applied B after that A: the record is sent again.
        {"echo of B", echo(530), true}, {"send A", send, true}, {"echo", echo(520), false}}},
      {"an edit between the send and its echo",
       {{"set A", set(520), true}, {"send A", send, true}, {"set B", set(530), true},
        {"echo of A", echo(520), true}, {"echo of B before B was sent", echo(530), true},
        {"send B", send, true}, {"echo of B", echo(530), false}}},
      {"a repeated echo of the value held",
       {{"set A", set(520), true}, {"send", send, true}, {"echo", echo(520), false},
        {"the same echo again", echo(520), false}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    table.initRegisters();
    for (const Step& step : c.steps) {
      step.act(table);
      EXPECT_EQ(table.dirty(148), step.dirty) << step.what;
    }
  }
}

TEST_F(RegisterTableTest, AGiveUpClearsOnlyTheGenerationSent) {
  table.setRegister(300, 512);
  for (int n = 0; n < kSendsBeforeGivingUp; ++n) sent(table, 300);
  const SendStep last = table.beginSend(300);
  EXPECT_EQ(last.kind, SendStep::Kind::GiveUp) << "given up instead of a twelfth send";
  EXPECT_FALSE(table.dirty(300));
  EXPECT_EQ(table.tries(300), 0);
  EXPECT_EQ(table.getRegister(300), 512);

  // A newer edit is a new generation with sends of its own.
  table.setRegister(301, 1);
  for (int n = 0; n < kSendsBeforeGivingUp; ++n) sent(table, 301);
  table.setRegister(301, 2);
  EXPECT_EQ(sent(table, 301), 2) << "the new edit is sent, not given up";
  EXPECT_EQ(table.tries(301), 1);
  EXPECT_TRUE(table.dirty(301));
}

TEST_F(RegisterTableTest, AReadReplyNeverReplacesAPendingEdit) {
  table.setRegister(26, 590);
  EXPECT_FALSE(table.storeFromDevice(26, 600));
  EXPECT_EQ(table.getRegister(26), 590) << "the edit wins";
  EXPECT_TRUE(table.dirty(26)) << "and is sent";
  EXPECT_TRUE(table.fromDevice(26)) << "the register counts as read";
  EXPECT_TRUE(table.storeFromDevice(27, 610));
  EXPECT_EQ(table.getRegister(27), 610);
  EXPECT_FALSE(table.dirty(27));
}

// A user, the worker and the device at full speed on one register, the
// device applying and echoing writes in order: however the steps interleave,
// once the user stops and the link drains, the device holds the last edit.
TEST_F(RegisterTableTest, RacingEditsAndEchoesNeverLoseTheLastEdit) {
  constexpr int kAddress = 148;
  constexpr int kEdits = 200000;
  std::mutex wireMutex;
  std::deque<int32_t> wire;
  std::atomic<int32_t> device{0};
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    while (!stop.load()) {
      const SendStep step = table.beginSend(kAddress);
      if (step.kind == SendStep::Kind::GiveUp) table.setDirty(kAddress, true);  // no losses here
      if (step.kind != SendStep::Kind::Send) {
        std::this_thread::yield();
        continue;
      }
      std::lock_guard<std::mutex> lock(wireMutex);
      wire.push_back(step.value);
    }
  });
  std::thread echoes([&] {
    while (!stop.load()) {
      std::optional<int32_t> frame;
      {
        std::lock_guard<std::mutex> lock(wireMutex);
        if (!wire.empty()) {
          frame = wire.front();
          wire.pop_front();
        }
      }
      if (!frame) {
        std::this_thread::yield();
        continue;
      }
      device.store(*frame);
      table.acknowledge(kAddress, static_cast<uint16_t>(*frame));
    }
  });
  for (int i = 1; i <= kEdits; ++i) table.setRegister(kAddress, i % 3000);  // values come back
  const auto drained = [&] {
    std::lock_guard<std::mutex> lock(wireMutex);
    return wire.empty() && !table.dirty(kAddress);
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!drained() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  stop.store(true);
  worker.join();
  echoes.join();
  EXPECT_FALSE(table.dirty(kAddress));
  EXPECT_EQ(device.load(), kEdits % 3000);
  EXPECT_EQ(table.getRegister(kAddress), kEdits % 3000);
}

// The user's next edit landing inside the give-up of the one before, from
// the user's own thread: the give-up clears only the generation it gave up,
// so the newer edit stays pending and is sent with sends of its own.
TEST_F(RegisterTableTest, AnEditInsideAGiveUpStaysPending) {
  constexpr int kAddress = 148;
  const struct {
    const char* name;
    std::function<void(RegisterTable&)> edit;
    int32_t value;
  } cases[] = {
      {"setRegister", [](RegisterTable& t) { t.setRegister(kAddress, 700); }, 700},
      {"setRegisterQuiet", [](RegisterTable& t) { t.setRegisterQuiet(kAddress, 701); }, 701},
      {"setDirty", [](RegisterTable& t) { t.setDirty(kAddress, true); }, 512},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    table.initRegisters();
    table.setRegister(kAddress, 512);
    for (int n = 0; n < kSendsBeforeGivingUp; ++n) sent(table, kAddress);
    std::mutex mutex;
    std::condition_variable changed;
    bool inWindow = false;
    bool edited = false;
    std::thread user([&] {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait(lock, [&] { return inWindow; });
      c.edit(table);
      edited = true;
      changed.notify_all();
    });
    table.setGiveUpWindowHook([&](int) {
      std::unique_lock<std::mutex> lock(mutex);
      if (edited) return;  // the give-up looks again: the edit is in
      inWindow = true;
      changed.notify_all();
      changed.wait(lock, [&] { return edited; });
    });
    const SendStep step = table.beginSend(kAddress);
    user.join();
    table.setGiveUpWindowHook(nullptr);
    ASSERT_TRUE(edited) << "the twelfth send gives up";
    EXPECT_TRUE(table.dirty(kAddress)) << "the newer edit was marked clean unsent";
    EXPECT_EQ(step.kind, SendStep::Kind::Send) << "the newer edit is sent, not given up";
    EXPECT_EQ(step.value, c.value);
    EXPECT_EQ(table.tries(kAddress), 1);
  }
}

TEST_F(RegisterTableTest, DirtyMarkingOffStoresWithoutMarking) {
  table.setDirtyMarking(false);
  table.setRegister(26, 590);
  EXPECT_EQ(table.getRegister(26), 590);
  EXPECT_FALSE(table.dirty(26));
  table.setDirtyMarking(true);
  table.setRegisterQuiet(27, 580);
  EXPECT_FALSE(table.dirty(27));
}

TEST_F(RegisterTableTest, MarkedEditWakesTheWorker) {
  Signal wake;
  table.setEditSignal(&wake);
  table.setDirtyMarking(false);
  table.setRegister(1, 1);
  EXPECT_FALSE(wake.tryTake()) << "nothing to send, nothing to wake for";
  table.setDirtyMarking(true);
  table.setRegister(1, 2);
  table.setRegister(2, 2);  // a second release is absorbed
  EXPECT_TRUE(wake.tryTake());
  EXPECT_FALSE(wake.tryTake());
  table.requestReread(1614, 1677);
  EXPECT_TRUE(wake.tryTake());
  EXPECT_TRUE(table.rereadRequested(1614));
  EXPECT_TRUE(table.rereadRequested(1677));
  EXPECT_FALSE(table.rereadRequested(1613));
  table.setEditSignal(nullptr);
}

TEST_F(RegisterTableTest, SpareRecordTakesDeviceValues) {
  table.storeFromDevice(1678, 77);
  EXPECT_TRUE(table.fromDevice(1678));
  EXPECT_TRUE(table.takeFromDevice(1678));
  EXPECT_FALSE(table.takeFromDevice(1678));
}

#ifdef NDEBUG
TEST_F(RegisterTableTest, AddressesOutsideTheTableAreIgnored) {
  for (int a : {-1, 1678, 1688, 100000}) {
    table.setRegister(a, 1);
    table.setRegisterQuiet(a, 1);
    EXPECT_EQ(table.getRegister(a), 0) << a;
  }
  table.setDirty(1688, true);
  EXPECT_FALSE(table.dirty(1688));
  EXPECT_EQ(table.recordValue(-5), 0);
  EXPECT_FALSE(table.acknowledge(5000, 0));
  table.requestReread(-10, 5);  // clipped to the table
  EXPECT_TRUE(table.rereadRequested(0));
}
#else
TEST(RegisterTableDeathTest, AddressOutsideTheTableAsserts) {
  RegisterTable table;
  EXPECT_DEATH(table.setRegister(1678, 1), "");
}
#endif

}  // namespace
}  // namespace zr78
