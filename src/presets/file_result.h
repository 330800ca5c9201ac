// Result codes of the preset file and ini operations. The numbers are part of
// the callers' contract (they treat every non-zero result as a failure).
#pragma once

#include <string_view>

namespace zr78 {

enum class FileResult : int {
  Ok = 0,
  EmptyName = 2,
  CannotOpen = 4,
  CannotCreate = 5,
  ChecksumMismatch = 6,  // also any damaged or malformed file
};

// A short English meaning for messages of the command-line tool and logs.
std::string_view fileResultMeaning(FileResult result);

}  // namespace zr78
