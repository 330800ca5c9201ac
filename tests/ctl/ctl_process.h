// zr78ctl run as a user runs it: a process of its own, in a working folder of
// the test's choosing, with XDG_DATA_HOME and HOME pointed into the test's
// temp folder, so that no run reads or writes the real per-user folders.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "temp_dir.h"

namespace zr78::test {

struct CtlRun {
  int exitCode;
  std::string out, err;
};

// Quoted for the shell, whatever the text holds.
inline std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string fileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class CtlProcess {
 public:
  explicit CtlProcess(const std::string& prefix = "zr78-ctl-") : temp_(prefix) {
    std::filesystem::create_directories(home());
    std::filesystem::create_directories(dataHome());
    std::filesystem::create_directories(working());
  }

  const std::filesystem::path& root() const { return temp_.path(); }
  std::filesystem::path home() const { return root() / "home"; }
  std::filesystem::path dataHome() const { return root() / "data"; }
  // The working folder of a run unless one is given.
  std::filesystem::path working() const { return root() / "work"; }

  // Leaves XDG_DATA_HOME unset in the runs: the data folder is HOME's.
  void unsetDataHome() { dataHomeSet_ = false; }

  // `zr78ctl ARGUMENTS` (already quoted where needed) in `folder`.
  CtlRun run(const std::string& arguments, const std::optional<std::filesystem::path>& folder = {}) const {
    const std::filesystem::path out = root() / "out.txt", err = root() / "err.txt";
    const std::string environment =
        (dataHomeSet_ ? "XDG_DATA_HOME=" + shellQuoted(dataHome().string()) : std::string("-u XDG_DATA_HOME")) +
        " HOME=" + shellQuoted(home().string());
    const std::string command = "cd " + shellQuoted(folder.value_or(working()).string()) + " && env " +
                                environment + " " + shellQuoted(ZR78CTL_PATH) + " " + arguments + " >" +
                                shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileText(out), fileText(err)};
  }

 private:
  TempDir temp_;
  bool dataHomeSet_ = true;
};

}  // namespace zr78::test
