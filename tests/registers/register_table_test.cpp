#include "registers/register_table.h"

#include <gtest/gtest.h>

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

TEST_F(RegisterTableTest, EditAndAcknowledge) {
  table.setRegister(1234, 5);
  EXPECT_TRUE(table.dirty(1234));
  EXPECT_FALSE(table.acknowledge(1234, 3));
  EXPECT_TRUE(table.dirty(1234)) << "an echo of another value leaves the record dirty";
  EXPECT_TRUE(table.acknowledge(1234, 5));
  EXPECT_FALSE(table.dirty(1234));
  EXPECT_EQ(table.tries(1234), 0);
}

TEST_F(RegisterTableTest, AcknowledgeComparesLow16Bits) {
  table.setRegister(20, 0x12345);
  EXPECT_TRUE(table.acknowledge(20, 0x2345));
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
  EXPECT_EQ(table.record(-5), nullptr);
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
