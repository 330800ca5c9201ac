#include "presets/file_io.h"

#include <algorithm>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zr78 {

namespace fs = std::filesystem;

std::string readStatusMeaning(ReadStatus status, uint64_t maxBytes) {
  switch (status) {
    case ReadStatus::Ok: return "success";
    case ReadStatus::CannotOpen: return "cannot open";
    case ReadStatus::NotRegularFile: return "not a regular file";
    case ReadStatus::TooLarge:
      if (maxBytes % (1 << 20) == 0) return "larger than " + std::to_string(maxBytes >> 20) + " MiB";
      return "larger than " + std::to_string(maxBytes) + " bytes";
  }
  return "cannot open";
}

namespace {

std::FILE* openFile(const fs::path& path, const wchar_t* wideMode, const char* mode) {
#ifdef _WIN32
  return _wfopen(path.c_str(), wideMode);
#else
  return std::fopen(path.c_str(), mode);
#endif
}

// Reads at most maxBytes + 1 bytes, so a file that grew past the bound while
// it was read is seen to be too large without reading the rest.
template <typename ReadChunk>
ReadStatus readAtMost(uint64_t maxBytes, uint64_t sizeHint, std::vector<uint8_t>& bytes, ReadChunk readChunk) {
  std::vector<uint8_t> read;
  read.reserve(static_cast<size_t>(std::min(sizeHint, maxBytes)));
  uint8_t chunk[8192];
  while (read.size() <= maxBytes) {
    const long got = readChunk(chunk, sizeof chunk);
    if (got < 0) return ReadStatus::CannotOpen;
    if (got == 0) break;
    read.insert(read.end(), chunk, chunk + got);
  }
  if (read.size() > maxBytes) return ReadStatus::TooLarge;
  bytes = std::move(read);
  return ReadStatus::Ok;
}

}  // namespace

#ifdef _WIN32

ReadStatus readBoundedFile(const fs::path& path, uint64_t maxBytes, std::vector<uint8_t>& bytes) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status)) return ReadStatus::CannotOpen;
  if (!fs::is_regular_file(status)) return ReadStatus::NotRegularFile;
  const uintmax_t size = fs::file_size(path, error);
  if (error) return ReadStatus::CannotOpen;
  if (size > maxBytes) return ReadStatus::TooLarge;
  std::FILE* file = openFile(path, L"rb", "rb");
  if (!file) return ReadStatus::CannotOpen;
  const ReadStatus result = readAtMost(maxBytes, size, bytes, [file](uint8_t* chunk, size_t size) -> long {
    const size_t got = std::fread(chunk, 1, size, file);
    return got == 0 && std::ferror(file) ? -1 : static_cast<long>(got);
  });
  std::fclose(file);
  return result;
}

#else

ReadStatus readBoundedFile(const fs::path& path, uint64_t maxBytes, std::vector<uint8_t>& bytes) {
  // The kind is checked before the open (opening a device may have effects)
  // and again on the open descriptor (the name may have changed meanwhile).
  // O_NONBLOCK makes the open of a FIFO return instead of waiting for a writer.
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) return ReadStatus::CannotOpen;
  if (!S_ISREG(before.st_mode)) return ReadStatus::NotRegularFile;
  if (static_cast<uint64_t>(before.st_size) > maxBytes) return ReadStatus::TooLarge;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return ReadStatus::CannotOpen;
  struct stat opened {};
  ReadStatus result = ReadStatus::Ok;
  if (::fstat(fd, &opened) != 0) {
    result = ReadStatus::CannotOpen;
  } else if (!S_ISREG(opened.st_mode)) {
    result = ReadStatus::NotRegularFile;
  } else if (static_cast<uint64_t>(opened.st_size) > maxBytes) {
    result = ReadStatus::TooLarge;
  } else {
    result = readAtMost(maxBytes, static_cast<uint64_t>(opened.st_size), bytes, [fd](uint8_t* chunk, size_t size) {
      ssize_t got;
      do got = ::read(fd, chunk, size);
      while (got < 0 && errno == EINTR);
      return static_cast<long>(got);
    });
  }
  ::close(fd);
  return result;
}

#endif

ReadStatus readBoundedStream(std::istream& in, uint64_t maxBytes, std::string& text) {
  std::string read;
  char chunk[8192];
  while (read.size() <= maxBytes && in.read(chunk, sizeof chunk).gcount() > 0)
    read.append(chunk, static_cast<size_t>(in.gcount()));
  if (read.size() > maxBytes) return ReadStatus::TooLarge;
  text = std::move(read);
  return ReadStatus::Ok;
}

std::optional<std::vector<uint8_t>> readWholeFile(const fs::path& path, uint64_t maxBytes) {
  std::vector<uint8_t> bytes;
  if (readBoundedFile(path, maxBytes, bytes) != ReadStatus::Ok) return std::nullopt;
  return bytes;
}

namespace {

fs::path temporaryBeside(const fs::path& path) {
  std::random_device device;
  fs::path temporary = path;
  temporary += ".tmp-" + std::to_string(device() & 0xFFFFFF);
  return temporary;
}

bool writeAll(const fs::path& path, std::span<const uint8_t> bytes, const DurableSteps& steps) {
  std::FILE* file = openFile(path, L"wb", "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool flushed = written && std::fflush(file) == 0 && steps.syncFile(file);
  const bool closed = std::fclose(file) == 0;
  return flushed && closed;
}

#ifndef _WIN32
// EINVAL: the file system has nothing to flush for this kind of file.
bool synced(int fd) { return ::fsync(fd) == 0 || errno == EINVAL; }
#endif

bool syncFileOnDisk(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return synced(::fileno(file));
#endif
}

bool syncFolderOnDisk(const fs::path& folder) {
#ifdef _WIN32
  (void)folder;  // a folder cannot be flushed there; the rename is atomic
  return true;
#else
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = synced(fd);
  ::close(fd);
  return ok;
#endif
}

bool renameOnDisk(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);
  return !error;
}

}  // namespace

DurableSteps DurableSteps::system() { return {syncFileOnDisk, renameOnDisk, syncFolderOnDisk}; }

bool writeFileReplacing(const fs::path& path, std::span<const uint8_t> bytes) {
  return writeFileReplacing(path, bytes, DurableSteps::system());
}

bool writeFileReplacing(const fs::path& path, std::span<const uint8_t> bytes, const DurableSteps& steps) {
  std::error_code error;
  if (path.empty() || fs::is_directory(path, error)) return false;
  const fs::path temporary = temporaryBeside(path);
  if (writeAll(temporary, bytes, steps) && steps.renameOver(temporary, path))
    return steps.syncFolder(path.parent_path());
  fs::remove(temporary, error);
  return false;
}

}  // namespace zr78
