#include "platform/named_lock.h"

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zr78 {

#ifdef _WIN32

std::string NamedLock::lockPath(const std::string& name) { return name; }

bool NamedLock::tryAcquire(const std::string& name) {
  release();
  const std::wstring wide(name.begin(), name.end());  // lock names are ASCII
  HANDLE h = CreateMutexW(nullptr, TRUE, wide.c_str());
  if (h == nullptr) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(h);
    return false;
  }
  handle_ = h;
  return true;
}

void NamedLock::release() {
  if (handle_ == nullptr) return;
  ReleaseMutex(static_cast<HANDLE>(handle_));
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

bool NamedLock::held() const { return handle_ != nullptr; }

#else

namespace {

// A folder only this user can write: a directory (not a link) of our own
// whose mode lets nobody else in.
bool privateFolder(const std::filesystem::path& folder) {
  struct stat info {};
  return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
         (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// $XDG_RUNTIME_DIR when it is private, else our own folder in the
// temporary directory; empty when neither can be had.
std::filesystem::path lockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && privateFolder(runtime)) return runtime;
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  const std::filesystem::path folder = temp / ("zr78-locks-" + std::to_string(::geteuid()));
  // mkdir fails when the folder is there; it is then checked like one we made.
  ::mkdir(folder.c_str(), 0700);
  return privateFolder(folder) ? folder : std::filesystem::path();
}

}  // namespace

std::string NamedLock::lockPath(const std::string& name) {
  const std::filesystem::path folder = lockFolder();
  return folder.empty() ? std::string() : (folder / (name + ".lock")).string();
}

bool NamedLock::tryAcquire(const std::string& name) {
  release();
  const std::string path = lockPath(name);
  if (path.empty()) return false;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  // The file is never removed: unlinking it while another process waits to
  // lock it would let two holders lock two different files of one name.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void NamedLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor drops the flock
  fd_ = -1;
}

bool NamedLock::held() const { return fd_ >= 0; }

#endif

}  // namespace zr78
