#include "channels/input_source.h"

#include <gtest/gtest.h>

#include <vector>

#include "registers/register_table.h"
#include "register_fixture.h"

namespace zr78 {
namespace {

class InputSourceTest : public RegisterFixture {
 protected:
  bool routingRereadRequested() const {
    for (int a = 1614; a <= 1677; ++a)
      if (!table.rereadRequested(a)) return false;
    return true;
  }
};

TEST_F(InputSourceTest, WordToSelectorItem) {
  struct Row {
    int32_t word;
    std::optional<int> item;
    bool replace;
  } rows[] = {{1, std::nullopt, false},
              {2, 0, false},
              {3, 1, false},
              {4, std::nullopt, false},
              {5, 2, false},
              {6, std::nullopt, false},
              {7, 3, false},
              {0, 1, true},
              {9, 1, true},
              {-1, 1, true}};
  for (const Row& r : rows) {
    const InputSourceView v = inputSourceView(r.word);
    EXPECT_EQ(v.item, r.item) << r.word;
    EXPECT_EQ(v.replaceWithHiLevel, r.replace) << r.word;
  }
}

TEST_F(InputSourceTest, ApplyFixesAnOutOfRangeWordQuietly) {
  table.setRegisterQuiet(kInputSourceRegister, 9);
  EXPECT_EQ(applyInputSource(table), 1);
  EXPECT_EQ(table.getRegister(kInputSourceRegister), 3);
  EXPECT_FALSE(table.dirty(kInputSourceRegister));
  table.setRegisterQuiet(kInputSourceRegister, 4);
  EXPECT_EQ(applyInputSource(table), std::nullopt);
  EXPECT_EQ(table.getRegister(kInputSourceRegister), 4);
}

TEST_F(InputSourceTest, ChoosingASourceWritesItsWordAndRereadsTheMatrix) {
  const InputSourceChange change = changeInputSource(table, 2, recorder());  // "OPT"
  EXPECT_TRUE(change.written);
  EXPECT_FALSE(change.noUsb);
  EXPECT_TRUE(change.hideMixer);
  EXPECT_EQ(table.getRegister(kInputSourceRegister), 5);
  EXPECT_TRUE(table.dirty(kInputSourceRegister));
  EXPECT_TRUE(routingRereadRequested());
  EXPECT_TRUE(notified.empty());
}

TEST_F(InputSourceTest, UsbOnlyWhenTheDeviceReportsIt) {
  table.setRegisterQuiet(kDeviceConfigurationRegister, 0x24);
  EXPECT_TRUE(changeInputSource(table, kUsbItem, recorder()).written);
  EXPECT_EQ(table.getRegister(kInputSourceRegister), 7);

  table.initRegisters();
  table.setRegisterQuiet(kDeviceConfigurationRegister, 0x04);
  const InputSourceChange refused = changeInputSource(table, kUsbItem, recorder());
  EXPECT_FALSE(refused.written);
  EXPECT_TRUE(refused.noUsb);
  EXPECT_TRUE(refused.hideMixer);  // the reread and the hidden button still happen
  EXPECT_EQ(table.getRegister(kInputSourceRegister), 4);  // the default word kept
  EXPECT_FALSE(table.dirty(kInputSourceRegister));
  EXPECT_EQ(notified, std::vector<int>{kInputSourceRegister});
  EXPECT_TRUE(routingRereadRequested());
}

TEST_F(InputSourceTest, TimerEndRereadsTheMatrixAgain) {
  changeInputSource(table, 0, recorder());
  for (int a = 1614; a <= 1677; ++a) table.clearRereadRequest(a);
  mixerTimerExpired(table);
  EXPECT_TRUE(routingRereadRequested());
  EXPECT_FALSE(table.rereadRequested(1613));
}

}  // namespace
}  // namespace zr78
