#include "platform/named_lock.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/lock_holder_process.h"
#include "temp_dir.h"

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

// A process of another user, forked from this (root) test process: it takes
// the lock as that user, without XDG_RUNTIME_DIR and with TMPDIR at a shared,
// world-writable folder (like /tmp), reports, and ends when told to -- or at
// once. The OS drops its lock when it ends.
class OtherUser {
 public:
  OtherUser(uid_t uid, const std::filesystem::path& sharedTemp, const std::string& lockName, bool keep) {
    int report[2], release[2];
    if (::pipe(report) != 0 || ::pipe(release) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(report[0]);
      ::close(release[1]);
      char result = 'x';  // could not become the user
      if (::setgroups(0, nullptr) == 0 && ::setgid(uid) == 0 && ::setuid(uid) == 0 && ::geteuid() == uid) {
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", sharedTemp.c_str(), 1);
        NamedLock lock;
        result = lock.tryAcquire(lockName) ? 'h' : 'b';
        (void)!::write(report[1], &result, 1);
        char c;
        if (keep) (void)!::read(release[0], &c, 1);
        ::_exit(0);
      }
      (void)!::write(report[1], &result, 1);
      ::_exit(1);
    }
    ::close(report[1]);
    ::close(release[0]);
    release_ = release[1];
    char c = 0;
    if (::read(report[0], &c, 1) == 1) result_ = c;
    ::close(report[0]);
  }
  ~OtherUser() { end(); }

  // 'h' held, 'b' busy, 'x' could not become the user.
  char result() const { return result_; }
  void end() {
    if (release_ >= 0) ::close(release_);
    release_ = -1;
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  char result_ = 0;
};

// Two users on one machine without XDG_RUNTIME_DIR: the second can open the
// channel lock once the first user's program has ended (a lock file the first
// left behind in the shared temp folder, 0600 and never removed, would block
// every other user for good).
TEST(NamedLockUsers, ASecondUserTakesTheLockAfterTheFirstUsersProgramEnded) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: runs processes as two other users (setuid)";
  test::TempDir shared("zr78-shared-temp-");
  std::filesystem::permissions(shared.path(), std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
  const std::string name = uniqueLockName("users");
  constexpr uid_t kFirst = 61001, kSecond = 61002;

  OtherUser first(kFirst, shared.path(), name, /*keep=*/true);
  ASSERT_EQ(first.result(), 'h');
  OtherUser firstAgain(kFirst, shared.path(), name, false);
  EXPECT_EQ(firstAgain.result(), 'b') << "the lock still excludes the same user's second program";
  first.end();
  OtherUser second(kSecond, shared.path(), name, false);
  EXPECT_EQ(second.result(), 'h') << "the second user after the first user's program ended";
  OtherUser firstLater(kFirst, shared.path(), name, false);
  EXPECT_EQ(firstLater.result(), 'h') << "and the first user again after that";
}

// A per-user folder that someone else made, or that others may write, is
// never used: the lock is refused rather than taken in a folder another user
// controls.
TEST(NamedLockUsers, AFolderAnotherUserMadeIsNotUsed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: runs processes as two other users (setuid)";
  test::TempDir shared("zr78-shared-temp-");
  std::filesystem::permissions(shared.path(), std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
  constexpr uid_t kVictim = 61003;
  const std::filesystem::path planted = shared.path() / ("zr78-locks-" + std::to_string(kVictim));
  std::filesystem::create_directory(planted);  // made by root, not by the user
  ASSERT_EQ(::chmod(planted.c_str(), 0777), 0);
  OtherUser victim(kVictim, shared.path(), uniqueLockName("planted"), false);
  EXPECT_EQ(victim.result(), 'b');
}

}  // namespace
}  // namespace zr78
