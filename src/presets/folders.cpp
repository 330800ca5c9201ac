#include "presets/folders.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zr78 {

namespace fs = std::filesystem;

fs::path pathFromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string utf8FromPath(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path Folders::in(const fs::path& folder, const std::string& name) {
  const fs::path path = pathFromUtf8(name);
  if (path.is_absolute() || folder.empty()) return path;
  return folder / path;
}

std::string fallbackFromTempPath(const std::string& tempPath, const std::string& baseName) {
  const size_t temp = tempPath.find("Temp");
  return (temp == std::string::npos ? std::string() : tempPath.substr(0, temp)) + baseName + "\\";
}

namespace {

fs::path userFallbackFolder() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  return pathFromUtf8(fallbackFromTempPath(utf8FromPath(fs::path(std::wstring(buffer, length))), kProgramName));
#else
  // The per-user data folder of the XDG rules; a relative XDG_DATA_HOME is
  // not one.
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && fs::path(dataHome).is_absolute()) return fs::path(dataHome) / kProgramName;
  const char* home = std::getenv("HOME");
  if (home && *home) return fs::path(home) / ".local" / "share" / kProgramName;
  std::error_code error;
  return fs::temp_directory_path(error) / kProgramName;
#endif
}

}  // namespace

Folders Folders::forExecutable(const fs::path& executable) {
  Folders folders;
  folders.program = executable.parent_path();
  folders.baseName = kProgramName;
  folders.fallback = userFallbackFolder();
  return folders;
}

Folders Folders::forUserData() {
  Folders folders;
  folders.fallback = userFallbackFolder();
  folders.program = folders.fallback;
  folders.baseName = kProgramName;
  return folders;
}

Folders Folders::forRunningProgram() {
#ifdef _WIN32
  wchar_t buffer[32768];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
  return forExecutable(fs::path(std::wstring(buffer, length)));
#else
  return forUserData();
#endif
}

bool folderExists(const fs::path& folder) {
  std::error_code error;
  // A trailing separator names the same directory.
  return fs::is_directory(folder, error);
}

bool makeFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  return folderExists(folder);
}

}  // namespace zr78
