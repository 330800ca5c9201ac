#include "presets/folders.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zr78 {
namespace {

namespace fs = std::filesystem;

TEST(Folders, FallbackFromTheTempPathRule) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Users\\Ann\\AppData\\Local\\Temp\\", "C:\\Users\\Ann\\AppData\\Local\\zr78\\"},
      {"C:\\Temp\\x\\Temp\\", "C:\\zr78\\"},  // the first "Temp" counts
      {"D:\\scratch\\", "zr78\\"},             // no "Temp": the whole path is dropped
      {"C:\\temp\\", "zr78\\"},                // the match is case-sensitive
  };
  for (const auto& [temp, expected] : cases) EXPECT_EQ(fallbackFromTempPath(temp, "zr78"), expected) << temp;
}

// The Windows rule, compiled and checked everywhere: the executable's folder;
// both programs take the program name "zr78".
TEST(Folders, ForAnExecutable) {
  ::setenv("XDG_DATA_HOME", "/data/home", 1);
  const Folders folders = Folders::forExecutable("/opt/zr78/bin/zr78.bin");
  EXPECT_EQ(folders.program, fs::path("/opt/zr78/bin"));
  EXPECT_EQ(folders.preset(), fs::path("/opt/zr78/bin/FileData"));
  EXPECT_EQ(folders.baseName, "zr78");
  EXPECT_EQ(folders.fallback, fs::path("/data/home/zr78"));
  EXPECT_TRUE(folders.working.empty());
  EXPECT_EQ(Folders::forExecutable("/opt/zr78/bin/zr78ctl").baseName, "zr78");

  ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", "/home/ann", 1);
  EXPECT_EQ(Folders::forExecutable("/opt/zr78/zr78").fallback, fs::path("/home/ann/.local/share/zr78"));
  ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
  EXPECT_EQ(Folders::forExecutable("/opt/zr78/zr78").fallback, fs::path("/home/ann/.local/share/zr78"));
}

// The Linux and macOS rule: every folder in the per-user data folder, the
// same for zr78 and zr78ctl wherever they were started from.
TEST(Folders, ForUserData) {
  const struct {
    const char* name;
    const char* dataHome;  // nullptr: unset
    const char* home;
    const char* folder;
  } cases[] = {
      {"XDG_DATA_HOME set", "/data/home", "/home/ann", "/data/home/zr78"},
      {"XDG_DATA_HOME unset", nullptr, "/home/ann", "/home/ann/.local/share/zr78"},
      {"XDG_DATA_HOME empty", "", "/home/ann", "/home/ann/.local/share/zr78"},
      {"XDG_DATA_HOME relative", "data", "/home/bob", "/home/bob/.local/share/zr78"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.dataHome) ::setenv("XDG_DATA_HOME", c.dataHome, 1);
    else ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", c.home, 1);
    const Folders folders = Folders::forUserData();
    EXPECT_EQ(folders.program, fs::path(c.folder));
    EXPECT_EQ(folders.preset(), fs::path(c.folder) / "FileData");
    EXPECT_EQ(folders.fallback, fs::path(c.folder));
    EXPECT_EQ(folders.baseName, "zr78");
    EXPECT_TRUE(folders.working.empty());
#ifndef _WIN32
    const Folders running = Folders::forRunningProgram();
    EXPECT_EQ(running.program, folders.program);
    EXPECT_EQ(running.fallback, folders.fallback);
    EXPECT_EQ(running.baseName, "zr78");
#endif
  }
}

TEST(Folders, AnAbsoluteNameIsNeverAppended) {
  EXPECT_EQ(Folders::in("/a/b", "/c/d.ryb"), fs::path("/c/d.ryb"));
  EXPECT_EQ(Folders::in("/a/b", "d.ryb"), fs::path("/a/b/d.ryb"));
  EXPECT_EQ(Folders::in("", "d.ryb"), fs::path("d.ryb"));
  EXPECT_EQ(utf8FromPath(pathFromUtf8("低音.ryb")), "低音.ryb");
}

}  // namespace
}  // namespace zr78
