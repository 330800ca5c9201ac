// Bounded file reading and a replacing write that never loses the old file.
//
// A file to read may come from anyone and be anything: only regular files are
// read (a FIFO or a device never blocks the reader), and a file larger than
// the caller's bound is refused from its size alone, before any byte is read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zr78 {

// The largest file any reader of this program takes: preset files (7.5 kB),
// their JSON exports and the settings file are far smaller.
inline constexpr uint64_t kMaxReadBytes = uint64_t{1} << 20;  // 1 MiB

enum class ReadStatus {
  Ok,
  CannotOpen,      // not there, no permission, or a read error
  NotRegularFile,  // a directory, FIFO, socket or device
  TooLarge,        // more than the bound
};

// "cannot open", "not a regular file", "larger than 1 MiB" (the bound given).
std::string readStatusMeaning(ReadStatus status, uint64_t maxBytes = kMaxReadBytes);

// Reads the whole file at `path` into `bytes` when it is a regular file of at
// most `maxBytes` bytes (also when it grows while being read). `bytes` is
// left as it was unless the result is Ok.
ReadStatus readBoundedFile(const std::filesystem::path& path, uint64_t maxBytes, std::vector<uint8_t>& bytes);

// A stream (standard input) read to its end into `text`, refused as TooLarge
// after maxBytes + 1 bytes without reading further. `text` is left as it was
// unless the result is Ok.
ReadStatus readBoundedStream(std::istream& in, uint64_t maxBytes, std::string& text);

// readBoundedFile with the common bound; nothing on any failure.
std::optional<std::vector<uint8_t>> readWholeFile(const std::filesystem::path& path,
                                                  uint64_t maxBytes = kMaxReadBytes);

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk,
// renames it over `path` and flushes the folder, so that after a power loss
// either the old or the new file is there, whole. A failure up to the rename
// leaves the old file (if any) untouched and removes the temporary file; a
// failure to flush the folder after the rename is reported too (the new file
// is then in place, but may not outlive a power loss). False on any failure.
bool writeFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// The steps of a replacing write that reach the disk, each true on success.
// writeFileReplacing uses the system's; a test hands in one that fails.
struct DurableSteps {
  std::function<bool(std::FILE* file)> syncFile;  // the written temporary, before it is closed
  std::function<bool(const std::filesystem::path& from, const std::filesystem::path& to)> renameOver;
  std::function<bool(const std::filesystem::path& folder)> syncFolder;  // after the rename

  static DurableSteps system();
};
bool writeFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes, const DurableSteps& steps);

}  // namespace zr78
