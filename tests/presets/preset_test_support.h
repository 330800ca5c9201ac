// Helpers for the preset tests: a temp folder tree, register values, and an
// independent little writer of decoded images (so that files laid out by
// "another implementation" can be built and damaged at will).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "link/frame_format.h"
#include "presets/folders.h"
#include "presets/preset_codec.h"

namespace zr78::test {


// Folders of a program "zr78" living in dir/program, with dir/fallback and dir/work.
inline Folders testFolders(const std::filesystem::path& dir) {
  Folders folders;
  folders.program = dir / "program";
  folders.fallback = dir / "fallback";
  folders.working = dir / "work";
  folders.baseName = "zr78";
  std::filesystem::create_directories(folders.program);
  std::filesystem::create_directories(folders.working);
  return folders;
}

// Register values covering the whole 16-bit range, different per seed.
inline std::array<int32_t, kPresetRegisterCount> sampleValues(uint32_t seed) {
  std::array<int32_t, kPresetRegisterCount> values{};
  std::mt19937 random(seed);
  for (int32_t& v : values) v = static_cast<int32_t>(random() & 0xFFFF);
  values[0] = 0;
  values[1] = 0xFFFF;
  return values;
}

inline void putU32(std::vector<uint8_t>& image, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t getU32(const std::vector<uint8_t>& image, size_t at) {
  return image[at] | image[at + 1] << 8 | image[at + 2] << 16 | static_cast<uint32_t>(image[at + 3]) << 24;
}

// A decoded image with the given layout numbers, reserved bytes 0xA5 and the
// given values from offset `headerSize`; the checksum is stored when it fits.
inline std::vector<uint8_t> handImage(uint32_t headerSize, uint32_t registerCount, uint32_t deviceId,
                                      const std::vector<uint16_t>& values, size_t size) {
  std::vector<uint8_t> image(size, 0xA5);
  for (size_t i = 0; i < 20; ++i) image[20 + i] = static_cast<uint8_t>(0x30 + 7 * i);  // alphabet
  putU32(image, 256, headerSize);
  putU32(image, 266, registerCount);
  putU32(image, 276, deviceId);
  putU32(image, 286, 0);
  image[296] = 0;
  putU32(image, 301, 0);
  const uint32_t time[6] = {2024, 2, 29, 23, 59, 58};
  for (int i = 0; i < 6; ++i) putU32(image, 306 + 5 * i, time[i]);
  putU32(image, 341, registerCount);
  putU32(image, 351, 1);
  for (size_t r = 0; r < values.size() && headerSize + 2 * r + 1 < size; ++r) {
    image[headerSize + 2 * r] = static_cast<uint8_t>(values[r]);
    image[headerSize + 2 * r + 1] = static_cast<uint8_t>(values[r] >> 8);
  }
  return image;
}

// Stores the CRC of bytes 0..end-1 at `end` (end = headerSize + 2 * registerCount).
inline void fixChecksum(std::vector<uint8_t>& image, size_t end) { putU32(image, end, crc16(image.data(), end)); }

// Encodes a decoded image with its own alphabet (bytes 20..35) and two
// trailing bytes; the last decoded byte, if any, is the trailing pair's.
inline std::vector<uint8_t> handEncode(const std::vector<uint8_t>& image, uint8_t trailing0 = 0, uint8_t trailing1 = 0) {
  std::vector<uint8_t> file(image.begin(), image.begin() + 256);
  for (size_t i = 256; i < image.size(); ++i) {
    file.push_back(image[20 + (image[i] >> 4)]);
    file.push_back(image[20 + (image[i] & 15)]);
  }
  file.push_back(trailing0);
  file.push_back(trailing1);
  return file;
}

}  // namespace zr78::test
