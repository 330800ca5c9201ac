// The program's folders: program folder (the executable's), preset folder
// (program folder + "FileData"), fallback folder (used when the program folder
// cannot be written) and the working folder against which plain names resolve.
// A value handed to whoever needs it; tests point it at their own temp dirs.
#pragma once

#include <filesystem>
#include <string>

namespace zr78 {

struct Folders {
  std::filesystem::path program;   // the running executable's folder
  std::filesystem::path fallback;  // per-user folder named after the program
  std::string baseName;            // executable name without folder and extension (ini section)
  std::filesystem::path working;   // empty: the current directory at call time

  std::filesystem::path preset() const { return program / "FileData"; }

  // `name` in `folder`; a name that is already absolute stays as it is.
  static std::filesystem::path in(const std::filesystem::path& folder, const std::string& name);
  // `name` against the working folder.
  std::filesystem::path resolve(const std::string& name) const { return in(working, name); }

  // Folders of the program at `executable` (its full path).
  static Folders forExecutable(const std::filesystem::path& executable);
  // Folders of the running program (Linux: /proc/self/exe).
  static Folders forRunningProgram();
};

// Windows rule: the temp path up to its first "Temp" (nothing when it has
// none), then the base name and a backslash.
std::string fallbackFromTempPath(const std::string& tempPath, const std::string& baseName);

bool folderExists(const std::filesystem::path& folder);
// Creates the folder (and missing parents); true when it exists afterwards.
bool makeFolder(const std::filesystem::path& folder);

// UTF-8 text <-> path, the same bytes on every platform.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace zr78
