#include "app/files_page_rules.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <system_error>

#include "presets/preset_file.h"
#include "presets/preset_list.h"

namespace zr78 {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExtension = ".ryb";

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool endsWithExtension(const std::string& name) {
  return name.size() >= kExtension.size() &&
         lowered(name.substr(name.size() - kExtension.size())) == kExtension;
}

bool isFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

void addOnce(std::vector<fs::path>& files, const fs::path& file) {
  for (const fs::path& known : files)
    if (sameFile(known, file)) return;
  files.push_back(file);
}

// `path` itself, and the files beside it whose names differ from its name
// only in the letter case of a ".ryb" at the end.
void addNamesakes(const fs::path& path, std::vector<fs::path>& files) {
  if (isFile(path)) addOnce(files, path);
  const std::string name = utf8FromPath(path.filename());
  if (!endsWithExtension(name)) return;
  const std::string stem = name.substr(0, name.size() - kExtension.size());
  std::error_code error;
  const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string other = utf8FromPath(it->path().filename());
    if (other.size() != name.size() || !endsWithExtension(other)) continue;
    if (other.compare(0, stem.size(), stem) != 0 || !isFile(it->path())) continue;
    addOnce(files, it->path());
  }
}

std::vector<fs::path> searchPlaces(const Folders& folders, const std::string& completed) {
  return {folders.resolve(completed), Folders::in(folders.preset(), completed),
          Folders::in(folders.fallback, completed)};
}

}  // namespace

std::vector<FileListItem> fileListItems(const Folders& folders) {
  std::vector<FileListItem> items;
  for (const ListedPreset& listed : listPresetFiles(folders)) {
    const fs::path file = listed.folder / pathFromUtf8(listed.name);
    const bool known = std::any_of(items.begin(), items.end(),
                                   [&](const FileListItem& item) { return sameFile(item.file, file); });
    if (!known) items.push_back({listed.name, file});
  }
  std::map<std::string, int> copies;
  for (const FileListItem& item : items) ++copies[lowered(item.text)];
  for (FileListItem& item : items)
    if (copies[lowered(item.text)] > 1) item.text = utf8FromPath(item.file);
  return items;
}

std::vector<fs::path> filesNamed(const Folders& folders, const std::string& name) {
  std::vector<fs::path> files;
  if (name.empty()) return files;
  for (const fs::path& place : searchPlaces(folders, PresetFile::completeName(name)))
    addNamesakes(place, files);
  return files;
}

std::optional<fs::path> fileToDelete(const Folders& folders, const std::vector<FileListItem>& items,
                                     const std::string& text) {
  if (text.empty()) return std::nullopt;
  for (const FileListItem& item : items) {
    if (item.text != text) continue;
    const bool preset = endsWithExtension(utf8FromPath(item.file.filename())) && isFile(item.file);
    return preset ? std::optional(item.file) : std::nullopt;
  }
  const std::string completed = PresetFile::completeName(text);
  if (!endsWithExtension(completed)) return std::nullopt;
  for (const fs::path& place : searchPlaces(folders, completed))
    if (isFile(place)) return place;
  return std::nullopt;
}

bool removePresetFile(const fs::path& file) {
  std::error_code error;
  return fs::remove(file, error) && !error;
}

std::vector<std::string> dialogFilters(std::string_view pairs) {
  std::vector<std::string> parts;
  for (size_t start = 0;;) {
    const size_t bar = pairs.find('|', start);
    const size_t length = bar == std::string_view::npos ? std::string_view::npos : bar - start;
    parts.emplace_back(pairs.substr(start, length));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  std::vector<std::string> filters;
  for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty() && !parts[i + 1].empty(); i += 2) {
    const std::string& description = parts[i];
    const std::string& pattern = parts[i + 1];
    const std::string tail = "(" + pattern + ")";
    const bool carries = description.size() >= tail.size() &&
                         description.compare(description.size() - tail.size(), tail.size(), tail) == 0;
    filters.push_back(carries ? description : description + " " + tail);
  }
  return filters;
}

}  // namespace zr78
