#include "presets/preset_list.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace zr78 {

namespace fs = std::filesystem;

namespace {

bool hasPresetExtension(const std::string& name) {
  constexpr std::string_view kExtension = ".ryb";
  if (name.size() < kExtension.size()) return false;
  return std::equal(kExtension.begin(), kExtension.end(), name.end() - kExtension.size(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

void addFolder(const fs::path& folder, std::vector<ListedPreset>& list) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = utf8FromPath(it->path().filename());
    if (hasPresetExtension(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  for (std::string& name : names) list.push_back({std::move(name), folder});
}

}  // namespace

std::vector<ListedPreset> listPresetFiles(const Folders& folders) {
  std::error_code error;
  const fs::path working = folders.working.empty() ? fs::current_path(error) : fs::absolute(folders.working, error);
  std::vector<ListedPreset> list;
  if (!working.empty()) addFolder(working, list);
  addFolder(folders.preset(), list);
  addFolder(folders.fallback, list);
  return list;
}

}  // namespace zr78
