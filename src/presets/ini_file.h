// A small ini file: "[section]" lines, "key=value" lines, comments (";" or
// "#") and anything else kept as it is. Section and key names compare
// case-insensitively; names and values are trimmed of blanks. Writing one key
// keeps every other line of the file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "presets/folders.h"

namespace zr78 {

class IniFile {
 public:
  static IniFile parse(const std::string& text);
  // An empty file when it does not exist or cannot be read.
  static IniFile load(const std::filesystem::path& path);

  std::optional<std::string> value(const std::string& section, const std::string& key) const;
  // Replaces the key's value in the first matching section, else appends the
  // key to that section, else appends the section.
  void set(const std::string& section, const std::string& key, const std::string& text);

  std::string text() const;
  bool save(const std::filesystem::path& path) const;

 private:
  std::vector<std::string> lines_;  // without line ends
  bool crlf_ = false;               // line end of the file as read
};

// Leading decimal integer (optional sign) of `text`, as ini readers take it.
std::optional<int> parseIniInt(const std::string& text);

// key = text in section S (the program name, Folders::baseName) of preset folder +
// stem + ".ini", making the preset folder when missing; when that write fails,
// the same in the fallback folder, whose result is returned.
bool writeIniValue(const Folders& folders, const std::string& stem, const std::string& key, const std::string& text);
bool writeIniNumber(const Folders& folders, const std::string& stem, const std::string& key, int number);
// The integer key of section S in `file`, or `fallbackValue`.
int readIniInt(const std::filesystem::path& file, const std::string& section, const std::string& key,
               int fallbackValue);
// "Language" from the preset folder's Language.ini, then the fallback
// folder's; -1 when neither has it.
int readLanguage(const Folders& folders);

}  // namespace zr78
