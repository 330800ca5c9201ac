// A named lock shared between processes that the operating system releases
// when the holding process dies, so a crashed instance never leaves it taken.
// Used for the USB channel ("HID_VID_4084_PID_4357") and for the single
// instance ("ZR-78").
//
// POSIX: flock(LOCK_EX | LOCK_NB) on the file "<name>.lock" in a folder of
// the user's own: $XDG_RUNTIME_DIR when it is a private folder of this user,
// else "zr78-locks-<uid>" in the temporary directory, made with mode 0700. A
// folder there that another user made, or that others may write, is not
// used (the lock then cannot be taken). So one user's lock files never stand
// in another user's way. Windows: a named mutex of the session.
// Two NamedLock objects in one process exclude each other too.
//
// Not thread-safe: one owner thread per object.
#pragma once

#include <string>

namespace zr78 {

class NamedLock {
 public:
  NamedLock() = default;
  ~NamedLock() { release(); }
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;

  // Releases a lock held by this object, then takes `name` without waiting.
  // False when another holder has it or the lock file cannot be opened.
  bool tryAcquire(const std::string& name);
  void release();
  bool held() const;

  // Where the lock of `name` lives (the file on POSIX, the mutex name on
  // Windows); makes the per-user folder when missing. Empty when no private
  // folder can be had.
  static std::string lockPath(const std::string& name);

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace zr78
