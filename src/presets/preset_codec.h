// Encoding and decoding of preset file bytes (layout in preset_layout.h).
// Pure functions on memory: no files, no folders, no clock.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "registers/register_table.h"
#include "presets/file_result.h"

namespace zr78 {

// A file holds the whole register table.
constexpr int kPresetRegisterCount = kRegisterCount;

struct PresetTime {
  uint32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const PresetTime&) const = default;
};

struct PresetHeader {
  uint32_t registerCount = 1678;
  uint32_t headerSize = 512;
  uint32_t formatOne = 1;
  uint32_t deviceId = 0;
  uint32_t reservedA = 0;
  uint8_t passwordFlag = 0;
  uint32_t reservedB = 0;
  PresetTime time;
  bool operator==(const PresetHeader&) const = default;
};

struct DecodedPreset {
  PresetHeader header;
  std::vector<int32_t> values;  // registerCount + 20 entries, the tail zero
};

// Builds a complete file. Takes deviceId, reservedA, passwordFlag, reservedB
// and time from the header; headerSize, registerCount and formatOne are the
// writer's constants (512, 1678, 1). Stores the low 16 bits of each value.
// Filler and alphabet come from `random`.
std::vector<uint8_t> encodePreset(const PresetHeader& header, std::span<const int32_t, kPresetRegisterCount> values,
                                  std::mt19937& random);

// The decoded bytes of a file: bytes 0..255 as they are, then one byte per
// pair (the trailing pair included). Nothing for a file shorter than 256
// bytes or with an odd number of encoded bytes.
std::optional<std::vector<uint8_t>> decodePresetImage(std::span<const uint8_t> file);

// Decodes a whole file. Ok: `out` holds the header and values. Any other
// result (ChecksumMismatch for a damaged, truncated or inconsistent file)
// leaves `out` untouched; no byte outside `file` is read.
FileResult decodePreset(std::span<const uint8_t> file, DecodedPreset& out);

}  // namespace zr78
