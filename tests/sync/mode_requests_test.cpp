// The device modes page's three calls on the worker against the virtual
// amplifier: asking a mode's name changes nothing on the device, a recall
// makes the mode current, a store keeps the name and the working registers,
// and a number that is no mode sends nothing.
#include "link/frame_format.h"
#include "worker_fixture.h"

namespace zr78::test {
namespace {

class ModeRequestsTest : public WorkerFixture {
 protected:
  void SetUp() override {
    start();
    ASSERT_TRUE(waitSynchronising());
    amp_.resetCounters();
  }
};

TEST_F(ModeRequestsTest, AskingANameChangesNothingOnTheDevice) {
  amp_.setModeName(5, "Door");
  const auto before = amp_.registers();
  state().modeNameReceived.store(0);
  worker().requestModeName(5);
  ASSERT_TRUE(waitFor([&] { return state().modeNameReceived.load() != 0; }));
  EXPECT_EQ(state().modeNameBuffer.toString(), "Door");
  EXPECT_EQ(amp_.framesReceived(CMD_READ_MODE_NAME), 1);
  EXPECT_EQ(amp_.framesReceived(CMD_RECALL_MODE), 0);
  EXPECT_EQ(amp_.framesReceived(CMD_WRITE_REGISTERS), 0);
  EXPECT_EQ(amp_.registers(), before);
}

TEST_F(ModeRequestsTest, StoreThenRecall) {
  table().setRegister(26, 560);
  ASSERT_TRUE(waitFor([&] { return amp_.reg(26) == 560; }));
  std::string name = "Stage";
  name.resize(kModeNameUnits, ' ');
  const uint32_t stored = worker().requestsCompleted();
  worker().requestStore(2, name);
  ASSERT_TRUE(waitFor([&] { return worker().requestsCompleted() > stored; }));
  EXPECT_TRUE(worker().lastRequestSucceeded(kSlotWriteModeName));
  EXPECT_EQ(amp_.modeName(2), "Stage");
  EXPECT_EQ(amp_.modeImage(2)[26], 560);
  EXPECT_EQ(events_.countMessages("Save successfully!"), 1);

  table().setRegister(26, 600);
  ASSERT_TRUE(waitFor([&] { return amp_.reg(26) == 600; }));
  const uint32_t recalled = worker().requestsCompleted();
  worker().requestRecall(2);
  ASSERT_TRUE(waitFor([&] { return worker().requestsCompleted() > recalled; }));
  EXPECT_TRUE(worker().lastRequestSucceeded(kSlotRecallMode));
  EXPECT_EQ(amp_.reg(kActiveModeRegister), 2);
  EXPECT_EQ(table().getRegister(26), 560);
  EXPECT_EQ(table().getRegister(kActiveModeRegister), 2);
}

TEST_F(ModeRequestsTest, NumbersThatAreNoModeSendNothing) {
  const int32_t word = table().getRegister(kModeCommandRegister);
  for (int mode : {0, 7, -1, 0x105}) {
    worker().requestModeName(mode);
    worker().requestRecall(mode);
    worker().requestStore(mode, "Nothing");
  }
  waitFor([] { return false; }, 100);  // what would be sent, had anything been raised
  EXPECT_FALSE(worker().requestRaised(kSlotRecallMode));
  EXPECT_FALSE(worker().requestRaised(kSlotWriteModeName));
  EXPECT_FALSE(table().dirty(kModeCommandRegister));
  EXPECT_EQ(table().getRegister(kModeCommandRegister), word);
  EXPECT_EQ(amp_.framesReceived(CMD_READ_MODE_NAME) + amp_.framesReceived(CMD_RECALL_MODE) +
                amp_.framesReceived(CMD_WRITE_MODE_NAME),
            0);
}

}  // namespace
}  // namespace zr78::test
