#include "presets/file_io.h"

#include <cstdio>
#include <random>
#include <system_error>

namespace zr78 {

namespace fs = std::filesystem;

namespace {

std::FILE* openFile(const fs::path& path, const wchar_t* wideMode, const char* mode) {
#ifdef _WIN32
  return _wfopen(path.c_str(), wideMode);
#else
  return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace

std::optional<std::vector<uint8_t>> readWholeFile(const fs::path& path) {
  std::error_code error;
  if (fs::is_directory(path, error)) return std::nullopt;
  std::FILE* file = openFile(path, L"rb", "rb");
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t chunk[8192];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

namespace {

fs::path temporaryBeside(const fs::path& path) {
  std::random_device device;
  fs::path temporary = path;
  temporary += ".tmp-" + std::to_string(device() & 0xFFFFFF);
  return temporary;
}

bool writeAll(const fs::path& path, std::span<const uint8_t> bytes) {
  std::FILE* file = openFile(path, L"wb", "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && flushed && closed;
}

}  // namespace

bool writeFileReplacing(const fs::path& path, std::span<const uint8_t> bytes) {
  std::error_code error;
  if (path.empty() || fs::is_directory(path, error)) return false;
  const fs::path temporary = temporaryBeside(path);
  if (writeAll(temporary, bytes)) {
    fs::rename(temporary, path, error);
    if (!error) return true;
  }
  fs::remove(temporary, error);
  return false;
}

}  // namespace zr78
