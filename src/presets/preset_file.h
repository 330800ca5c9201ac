// PresetFile: save, load, delete and look for preset files (".ryb"), each
// operation on a fresh, short-lived object. The byte layout lives in
// preset_layout.h, the coding in preset_codec.h; this class adds names and
// folders. Not shared between threads.
#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "presets/file_result.h"
#include "presets/folders.h"
#include "presets/preset_codec.h"

namespace zr78 {

// The largest file a read takes (a preset file is 7490 bytes).
inline constexpr uint64_t kMaxPresetFileBytes = uint64_t{1} << 20;

class PresetFile {
 public:
  // Records the local time as the write time; header fields as this program
  // writes them (deviceId 0 until the caller sets it).
  explicit PresetFile(Folders folders);

  // The name with ".ryb" appended unless its lower-cased copy contains ".ryb"
  // anywhere ("Bass" -> "Bass.ryb"; "Bass.RYB" and "my.ryb.old" unchanged).
  static std::string completeName(const std::string& name);

  // One file at exactly the completed name (relative to the working folder).
  FileResult writeImage(const std::string& name, std::span<const int32_t, kPresetRegisterCount> values);
  // Ok: header and values replaced. Any other result changes nothing. Only
  // a regular file of at most kMaxPresetFileBytes is read; a larger one gives
  // ChecksumMismatch, anything but a regular file CannotOpen.
  FileResult readImage(const std::string& name);

  // Into the preset folder (made when missing), else into the fallback
  // folder; lastPath() names the copy written.
  FileResult save(const std::string& name, std::span<const int32_t, kPresetRegisterCount> values);
  // The name itself, then the preset folder, then the fallback folder; the
  // next place is tried only while the file cannot be opened. lastPath()
  // names the file opened.
  FileResult load(const std::string& name);
  // Deletes the completed name, else the fallback folder's copy. A name found
  // in neither place is not an error; one that cannot be removed gives
  // CannotOpen.
  FileResult remove(const std::string& name);
  // A file at the name itself or in the fallback folder (not the preset
  // folder). Completes case-sensitively: ".ryb" appended unless contained.
  bool exists(const std::string& name) const;

  PresetHeader header;          // set deviceId before a save; replaced by a read
  std::vector<int32_t> values;  // registerCount + 20 entries after a read
  const std::string& lastPath() const { return lastPath_; }
  // Why the last read failed, for messages: "not a regular file", "larger
  // than 1 MiB", "checksum mismatch", ...
  const std::string& problem() const { return problem_; }
  const Folders& folders() const { return folders_; }

 private:
  FileResult writeImageAt(const std::filesystem::path& path, std::span<const int32_t, kPresetRegisterCount> values);
  FileResult readImageAt(const std::filesystem::path& path);

  Folders folders_;
  std::mt19937 random_;
  std::string lastPath_;
  std::string problem_;
};

// The local time now, as the file stores it.
PresetTime localPresetTime();

}  // namespace zr78
