// The worker's write-file operation on files named like preset files that
// are not: a FIFO (an open for reading would wait forever, and the worker
// with it) and a 2 GiB sparse file (read whole, it would take 2 GiB). Both
// end the operation with "No files。" and change nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "sync/worker_fixture.h"

namespace zr78::test {
namespace {

class WorkerFileBoundsTest : public WorkerFixture {
 protected:
  void SetUp() override {
    start();
    ASSERT_TRUE(waitSynchronising());
  }
};

TEST_F(WorkerFileBoundsTest, AFifoOrAHugeFileIsRefused) {
  ASSERT_EQ(::mkfifo(path("pipe.ryb").c_str(), 0600), 0);
  std::ofstream(path("huge.ryb"), std::ios::binary).put('x');
  std::filesystem::resize_file(path("huge.ryb"), uintmax_t{2} << 30);
  for (const char* name : {"pipe.ryb", "huge.ryb"}) {
    std::array<int32_t, kRegisterCount> before{};
    for (int a = 0; a < kRegisterCount; ++a) before[a] = table().getRegister(a);
    events_.clear();
    worker().setTransferFilePath(path(name).string());
    ASSERT_TRUE(runSlot(kSlotWriteFile)) << name << ": the operation never ended";
    EXPECT_FALSE(worker().lastRequestSucceeded(kSlotWriteFile)) << name;
    EXPECT_EQ(events_.countMessages("No files。"), 1) << name;
    for (int a = 0; a < kRegisterCount; ++a) ASSERT_EQ(table().getRegister(a), before[a]) << name << ", register " << a;
    EXPECT_TRUE(nothingDirty()) << name;
  }
}

}  // namespace
}  // namespace zr78::test
