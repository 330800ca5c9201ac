// A unique folder under the system temp folder, removed at the end: tests
// make their own, so they run in parallel and leave nothing behind.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace zr78::test {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "zr78-test-") {
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() /
            (prefix + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace zr78::test
