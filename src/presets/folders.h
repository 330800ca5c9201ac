// The program's folders: program folder, preset folder (program folder +
// "FileData"), fallback folder (used when the preset folder cannot be written)
// and the working folder against which plain names resolve. A value handed to
// whoever needs it; tests point it at their own temp dirs.
//
// zr78 and zr78ctl both use the program name "zr78", so a tuning saved by one
// is found by the other and they share one settings file. On Linux and macOS
// the program folder and the fallback folder are the per-user data folder
// $XDG_DATA_HOME/zr78 (default ~/.local/share/zr78): nothing is written beside
// the executable. On Windows the program folder is the executable's and the
// fallback folder the per-user one beside the temporary folder.
#pragma once

#include <filesystem>
#include <string>

namespace zr78 {

inline constexpr char kProgramName[] = "zr78";

struct Folders {
  std::filesystem::path program;   // holds the preset folder (see above)
  std::filesystem::path fallback;  // per-user folder named after the program
  std::string baseName;            // the program name: the settings file's section
  std::filesystem::path working;   // empty: the current directory at call time

  std::filesystem::path preset() const { return program / "FileData"; }

  // `name` in `folder`; a name that is already absolute stays as it is.
  static std::filesystem::path in(const std::filesystem::path& folder, const std::string& name);
  // `name` against the working folder.
  std::filesystem::path resolve(const std::string& name) const { return in(working, name); }

  // The Windows rule: the program folder is the folder of `executable` (its
  // full path), the fallback folder the per-user folder.
  static Folders forExecutable(const std::filesystem::path& executable);
  // The Linux and macOS rule: program and fallback folder are the per-user
  // data folder.
  static Folders forUserData();
  // The rule of the platform the program runs on.
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
