// Runs the lock_holder helper as a real second process: start() returns once
// the helper reports whether it holds the lock; stop() lets it exit normally,
// kill() ends it with SIGKILL (the OS must then drop its lock).
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace zr78::test {

class LockHolderProcess {
 public:
  ~LockHolderProcess() { stop(); }

  // "held", "busy", or "" when the helper could not be run.
  std::string start(const std::string& helperPath, const std::string& lockName) {
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) return "";
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
      closeBoth(toChild);
      return "";
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    std::string path = helperPath;
    std::string name = lockName;
    char* argv[] = {path.data(), name.data(), nullptr};
    const int rc = posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    stdin_ = toChild[1];
    if (rc != 0) {
      pid_ = -1;
      ::close(fromChild[0]);
      stop();
      return "";
    }
    std::string line;
    char c;
    while (::read(fromChild[0], &c, 1) == 1 && c != '\n') line.push_back(c);
    ::close(fromChild[0]);
    return line;
  }

  void stop() {
    if (stdin_ >= 0) {
      ::close(stdin_);
      stdin_ = -1;
    }
    reap();
  }

  void kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    stop();
  }

 private:
  static void closeBoth(int fds[2]) {
    ::close(fds[0]);
    ::close(fds[1]);
  }
  void reap() {
    if (pid_ > 0) {
      int status = 0;
      ::waitpid(pid_, &status, 0);
      pid_ = -1;
    }
  }

  pid_t pid_ = -1;
  int stdin_ = -1;
};

}  // namespace zr78::test
