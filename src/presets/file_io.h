// Whole-file reading and a replacing write that never loses the old file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace zr78 {

// The whole file; nothing when it cannot be opened or read.
std::optional<std::vector<uint8_t>> readWholeFile(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside `path`, checks that every byte
// was written and then renames it over `path`. On failure the old file (if
// any) is untouched, the temporary file is removed, and false is returned.
bool writeFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace zr78
