#include "presets/preset_file.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <system_error>

#include "presets/file_io.h"

namespace zr78 {

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtension = ".ryb";

bool isFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

}  // namespace

PresetTime localPresetTime() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return PresetTime{static_cast<uint32_t>(local.tm_year + 1900), static_cast<uint32_t>(local.tm_mon + 1),
                    static_cast<uint32_t>(local.tm_mday), static_cast<uint32_t>(local.tm_hour),
                    static_cast<uint32_t>(local.tm_min), static_cast<uint32_t>(local.tm_sec)};
}

PresetFile::PresetFile(Folders folders) : folders_(std::move(folders)), random_(std::random_device{}()) {
  header.time = localPresetTime();
}

std::string PresetFile::completeName(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower.find(kExtension) == std::string::npos ? name + kExtension : name;
}

FileResult PresetFile::writeImage(const std::string& name, std::span<const int32_t, kPresetRegisterCount> values) {
  if (name.empty()) return FileResult::EmptyName;
  return writeImageAt(folders_.resolve(completeName(name)), values);
}

FileResult PresetFile::writeImageAt(const fs::path& path, std::span<const int32_t, kPresetRegisterCount> values) {
  const std::vector<uint8_t> file = encodePreset(header, values, random_);
  return writeFileReplacing(path, file) ? FileResult::Ok : FileResult::CannotCreate;
}

FileResult PresetFile::readImage(const std::string& name) {
  if (name.empty()) return FileResult::EmptyName;
  return readImageAt(folders_.resolve(completeName(name)));
}

FileResult PresetFile::readImageAt(const fs::path& path) {
  std::vector<uint8_t> file;
  const ReadStatus read = readBoundedFile(path, kMaxPresetFileBytes, file);
  problem_ = readStatusMeaning(read, kMaxPresetFileBytes);
  // Too large to be a preset file: damaged, not "try the next folder".
  if (read == ReadStatus::TooLarge) return FileResult::ChecksumMismatch;
  if (read != ReadStatus::Ok) return FileResult::CannotOpen;
  DecodedPreset decoded;
  const FileResult result = decodePreset(file, decoded);
  problem_ = fileResultMeaning(result);
  if (result != FileResult::Ok) return result;
  header = decoded.header;
  values = std::move(decoded.values);
  return FileResult::Ok;
}

FileResult PresetFile::save(const std::string& name, std::span<const int32_t, kPresetRegisterCount> values) {
  if (name.empty()) return FileResult::EmptyName;
  const std::string completed = completeName(name);
  makeFolder(folders_.preset());
  const fs::path presetPath = Folders::in(folders_.preset(), completed);
  // The write replaces an older file only once the new one is complete.
  FileResult result = writeImageAt(presetPath, values);
  lastPath_ = utf8FromPath(presetPath);
  if (result != FileResult::CannotCreate) return result;

  makeFolder(folders_.fallback);
  const fs::path fallbackPath = Folders::in(folders_.fallback, completed);
  result = writeImageAt(fallbackPath, values);
  lastPath_ = utf8FromPath(fallbackPath);
  // A stale copy in the preset folder would win over the new one on load.
  std::error_code error;
  if (result == FileResult::Ok && fallbackPath != presetPath) fs::remove(presetPath, error);
  return result;
}

FileResult PresetFile::load(const std::string& name) {
  if (name.empty()) return FileResult::EmptyName;
  const std::string completed = completeName(name);
  const fs::path places[] = {folders_.resolve(completed), Folders::in(folders_.preset(), completed),
                             Folders::in(folders_.fallback, completed)};
  FileResult result = FileResult::CannotOpen;
  std::string notAFile;  // a FIFO or folder of the name says more than a later "cannot open"
  for (const fs::path& place : places) {
    result = readImageAt(place);
    if (result == FileResult::CannotOpen) {
      if (notAFile.empty() && problem_ == readStatusMeaning(ReadStatus::NotRegularFile)) notAFile = problem_;
      continue;
    }
    lastPath_ = utf8FromPath(place);
    break;
  }
  if (result == FileResult::CannotOpen && !notAFile.empty()) problem_ = notAFile;
  return result;
}

FileResult PresetFile::remove(const std::string& name) {
  if (name.empty()) return FileResult::EmptyName;
  const std::string completed = completeName(name);
  std::error_code error;
  for (const fs::path& place : {folders_.resolve(completed), Folders::in(folders_.fallback, completed)}) {
    // A file that is there but cannot be removed is reported, not hidden.
    if (isFile(place)) return fs::remove(place, error) ? FileResult::Ok : FileResult::CannotOpen;
  }
  return FileResult::Ok;
}

bool PresetFile::exists(const std::string& name) const {
  const std::string completed = name.find(kExtension) == std::string::npos ? name + kExtension : name;
  return isFile(folders_.resolve(completed)) || isFile(Folders::in(folders_.fallback, completed));
}

}  // namespace zr78
