#include "presets/file_result.h"

namespace zr78 {

std::string_view fileResultMeaning(FileResult result) {
  switch (result) {
    case FileResult::Ok: return "success";
    case FileResult::EmptyName: return "empty name";
    case FileResult::CannotOpen: return "cannot open";
    case FileResult::CannotCreate: return "cannot create";
    case FileResult::ChecksumMismatch: return "checksum mismatch";
  }
  return "unknown result";
}

}  // namespace zr78
