#include "presets/ini_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

#include "presets/file_io.h"

namespace zr78 {

namespace fs = std::filesystem;

namespace {

std::string trim(const std::string& text) {
  const auto blank = [](unsigned char c) { return c == ' ' || c == '\t'; };
  size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// The section name of a "[name]" line.
std::optional<std::string> sectionOf(const std::string& line) {
  const std::string t = trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return trim(t.substr(1, close - 1));
}

// The key of a "key=value" line; comments have none.
std::optional<std::string> keyOf(const std::string& line) {
  const std::string t = trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return std::nullopt;
  const size_t equals = t.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return trim(t.substr(0, equals));
}

std::string valueOf(const std::string& line) { return trim(line.substr(line.find('=') + 1)); }

}  // namespace

IniFile IniFile::parse(const std::string& text) {
  IniFile ini;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
      ini.crlf_ = true;
    }
    ini.lines_.push_back(std::move(line));
    start = end + 1;
  }
  return ini;
}

IniFile IniFile::load(const fs::path& path) {
  const auto bytes = readWholeFile(path);
  return bytes ? parse(std::string(bytes->begin(), bytes->end())) : IniFile{};
}

std::optional<std::string> IniFile::value(const std::string& section, const std::string& key) const {
  bool inSection = false;
  for (const std::string& line : lines_) {
    if (const auto name = sectionOf(line)) {
      inSection = sameName(*name, section);
    } else if (inSection) {
      if (const auto lineKey = keyOf(line); lineKey && sameName(*lineKey, key)) return valueOf(line);
    }
  }
  return std::nullopt;
}

void IniFile::set(const std::string& section, const std::string& key, const std::string& text) {
  const std::string entry = key + "=" + text;
  std::optional<size_t> insertAt;  // after the matching section's last non-blank line
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (const auto name = sectionOf(lines_[i])) {
      if (insertAt) break;  // the matching section has ended
      if (sameName(*name, section)) insertAt = i + 1;
    } else if (insertAt) {
      if (const auto lineKey = keyOf(lines_[i]); lineKey && sameName(*lineKey, key)) {
        lines_[i] = entry;
        return;
      }
      if (!trim(lines_[i]).empty()) insertAt = i + 1;
    }
  }
  if (insertAt) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt), entry);
    return;
  }
  lines_.push_back("[" + section + "]");
  lines_.push_back(entry);
}

std::string IniFile::text() const {
  std::string out;
  for (const std::string& line : lines_) out += line + (crlf_ ? "\r\n" : "\n");
  return out;
}

bool IniFile::save(const fs::path& path) const {
  const std::string content = text();
  return writeFileReplacing(path, std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
}

std::optional<int> parseIniInt(const std::string& text) {
  const std::string t = trim(text);
  const char* first = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
  int number = 0;
  const auto [end, error] = std::from_chars(first, t.data() + t.size(), number);
  if (error != std::errc{}) return std::nullopt;
  return number;
}

namespace {

bool writeIniIn(const fs::path& folder, const std::string& stem, const std::string& section, const std::string& key,
                const std::string& text) {
  if (!makeFolder(folder)) return false;
  const fs::path file = folder / pathFromUtf8(stem + ".ini");
  const auto bytes = readWholeFile(file);
  std::error_code error;
  // Rewriting a file that is there but unreadable would lose its other keys.
  if (!bytes && fs::exists(file, error)) return false;
  IniFile ini = bytes ? IniFile::parse(std::string(bytes->begin(), bytes->end())) : IniFile{};
  ini.set(section, key, text);
  return ini.save(file);
}

}  // namespace

bool writeIniValue(const Folders& folders, const std::string& stem, const std::string& key, const std::string& text) {
  if (writeIniIn(folders.preset(), stem, folders.baseName, key, text)) return true;
  return writeIniIn(folders.fallback, stem, folders.baseName, key, text);
}

bool writeIniNumber(const Folders& folders, const std::string& stem, const std::string& key, int number) {
  return writeIniValue(folders, stem, key, std::to_string(number));
}

int readIniInt(const fs::path& file, const std::string& section, const std::string& key, int fallbackValue) {
  const auto text = IniFile::load(file).value(section, key);
  const auto number = text ? parseIniInt(*text) : std::nullopt;
  return number.value_or(fallbackValue);
}

int readLanguage(const Folders& folders) {
  const int stored = readIniInt(folders.preset() / "Language.ini", folders.baseName, "Language", -1);
  if (stored >= 0) return stored;
  return readIniInt(folders.fallback / "Language.ini", folders.baseName, "Language", -1);
}

}  // namespace zr78
