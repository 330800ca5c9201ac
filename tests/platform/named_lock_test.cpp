#include "platform/named_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/lock_holder_process.h"

namespace zr78 {
namespace {

// A lock name of this test process alone, so parallel test runs never meet.
std::string uniqueLockName(const char* what) {
  return std::string("zr78_test_") + what + "_" + std::to_string(::getpid());
}

TEST(NamedLockTest, ExcludesASecondHolderUntilReleased) {
  const std::string name = uniqueLockName("local");
  NamedLock first;
  NamedLock second;
  ASSERT_TRUE(first.tryAcquire(name));
  EXPECT_TRUE(first.held());
  EXPECT_FALSE(second.tryAcquire(name));
  EXPECT_FALSE(second.held());
  first.release();
  EXPECT_FALSE(first.held());
  EXPECT_TRUE(second.tryAcquire(name));
  second.release();
  std::filesystem::remove(NamedLock::lockPath(name));
}

TEST(NamedLockTest, ReacquiringTheSameObjectKeepsItHeld) {
  const std::string name = uniqueLockName("again");
  NamedLock lock;
  ASSERT_TRUE(lock.tryAcquire(name));
  EXPECT_TRUE(lock.tryAcquire(name)) << "the object's own earlier hold is released first";
  lock.release();
  std::filesystem::remove(NamedLock::lockPath(name));
}

struct ProcessCase {
  const char* name;
  bool killHolder;  // end the holder with SIGKILL instead of a normal exit
};

class NamedLockProcessTest : public ::testing::TestWithParam<ProcessCase> {};

TEST_P(NamedLockProcessTest, AnotherProcessHoldsItUntilItEnds) {
  const std::string name = uniqueLockName(GetParam().name);
  test::LockHolderProcess holder;
  ASSERT_EQ(holder.start(ZR78_LOCK_HOLDER, name), "held");
  NamedLock lock;
  EXPECT_FALSE(lock.tryAcquire(name));
  if (GetParam().killHolder)
    holder.kill();
  else
    holder.stop();
  EXPECT_TRUE(lock.tryAcquire(name)) << "the OS drops the lock of an ended process";
  test::LockHolderProcess second;
  EXPECT_EQ(second.start(ZR78_LOCK_HOLDER, name), "busy");
  lock.release();
  std::filesystem::remove(NamedLock::lockPath(name));
}

INSTANTIATE_TEST_SUITE_P(Ends, NamedLockProcessTest,
                         ::testing::Values(ProcessCase{"exit", false}, ProcessCase{"kill", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zr78
