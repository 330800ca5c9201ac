#include "presets/preset_codec.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/crc16.h"
#include "presets/preset_layout.h"

namespace zr78 {

namespace L = preset_layout;

namespace {

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t getU32(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

// A u32 field followed by its four reserved bytes (zeros).
void putField(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  putU32(bytes, at, value);
  putU32(bytes, at + 4, 0);
}

std::array<uint8_t, L::kAlphabetSize> drawAlphabet(std::mt19937& random) {
  std::array<uint8_t, L::kAlphabetSize> alphabet{};
  size_t drawn = 0;
  while (drawn < alphabet.size()) {
    const auto byte = static_cast<uint8_t>(random());
    if (std::find(alphabet.begin(), alphabet.begin() + drawn, byte) == alphabet.begin() + drawn) alphabet[drawn++] = byte;
  }
  return alphabet;
}

// A byte found in neither place keeps its nibble at 0xF, as every reader does.
uint8_t decodePair(uint8_t high, uint8_t low, const uint8_t* alphabet) {
  uint8_t value = 0xFF;
  const uint8_t* end = alphabet + L::kAlphabetUsed;
  if (const uint8_t* hit = std::find(alphabet, end, high); hit != end) value = static_cast<uint8_t>(((hit - alphabet) << 4) | 0x0F);
  if (const uint8_t* hit = std::find(alphabet, end, low); hit != end) value = static_cast<uint8_t>((value & 0xF0) | (hit - alphabet));
  return value;
}

PresetHeader parseHeader(const std::vector<uint8_t>& image) {
  PresetHeader header;
  header.headerSize = getU32(image, L::kHeaderSizeAt);
  header.registerCount = getU32(image, L::kRegisterCountAt);
  header.formatOne = getU32(image, L::kFormatOneAt);
  header.deviceId = getU32(image, L::kDeviceIdAt);
  header.reservedA = getU32(image, L::kReservedAAt);
  header.passwordFlag = image[L::kPasswordFlagAt];
  header.reservedB = getU32(image, L::kReservedBAt);
  uint32_t* time[6] = {&header.time.year, &header.time.month, &header.time.day,
                       &header.time.hour, &header.time.minute, &header.time.second};
  for (int i = 0; i < 6; ++i) *time[i] = getU32(image, L::kTimeFieldsAt[i]);
  return header;
}

// The image and its checksum must lie after the fixed fields and inside the
// decoded data; anything else would make the reader read outside it.
bool layoutFits(const PresetHeader& header, size_t decodedBytes) {
  if (header.headerSize < L::kHeaderEnd || header.registerCount > L::kMaxRegisterCount) return false;
  const uint64_t end = uint64_t{header.headerSize} + 2 * uint64_t{header.registerCount} + L::kChecksumSize;
  return end <= decodedBytes;
}

}  // namespace

std::vector<uint8_t> encodePreset(const PresetHeader& header, std::span<const int32_t, kPresetRegisterCount> values,
                                  std::mt19937& random) {
  constexpr size_t H = L::kWrittenHeaderSize;
  constexpr size_t N = L::kWrittenRegisterCount;
  static_assert(N == kPresetRegisterCount);
  std::vector<uint8_t> image(L::decodedSize(H, N));
  for (size_t i = 0; i < H; ++i) image[i] = static_cast<uint8_t>(random());

  putField(image, L::kHeaderSizeAt, H);
  putField(image, L::kRegisterCountAt, N);
  putField(image, L::kDeviceIdAt, header.deviceId);
  putField(image, L::kReservedAAt, header.reservedA);
  image[L::kPasswordFlagAt] = header.passwordFlag;
  putU32(image, L::kReservedBAt, header.reservedB);
  image[L::kReservedBAt + 4] = 0;
  const uint32_t time[6] = {header.time.year, header.time.month, header.time.day,
                            header.time.hour, header.time.minute, header.time.second};
  for (int i = 0; i < 6; ++i) putU32(image, L::kTimeFieldsAt[i], time[i]);
  putField(image, L::kRegisterCountCopyAt, N);
  putField(image, L::kFormatOneAt, L::kFormatOneValue);

  const auto alphabet = drawAlphabet(random);
  std::copy(alphabet.begin(), alphabet.end(), image.begin() + L::kAlphabetAt);
  for (size_t r = 0; r < N; ++r) {
    image[H + 2 * r] = static_cast<uint8_t>(values[r]);
    image[H + 2 * r + 1] = static_cast<uint8_t>(values[r] >> 8);
  }
  putU32(image, L::imageEnd(H, N), crc16(image.data(), L::imageEnd(H, N)));

  std::vector<uint8_t> file(L::encodedSize(image.size()), 0);  // trailing pair: zeros
  std::copy(image.begin(), image.begin() + L::kPlainSize, file.begin());
  for (size_t i = L::kPlainSize; i < image.size(); ++i) {
    file[L::kPlainSize + 2 * (i - L::kPlainSize)] = alphabet[image[i] >> 4];
    file[L::kPlainSize + 2 * (i - L::kPlainSize) + 1] = alphabet[image[i] & 15];
  }
  return file;
}

std::optional<std::vector<uint8_t>> decodePresetImage(std::span<const uint8_t> file) {
  // An odd tail would leave half a pair; a reader of pairs would run past the end.
  if (file.size() < L::kPlainSize || (file.size() - L::kPlainSize) % 2 != 0) return std::nullopt;
  std::vector<uint8_t> image(L::kPlainSize + (file.size() - L::kPlainSize) / 2);
  std::copy(file.begin(), file.begin() + L::kPlainSize, image.begin());
  const uint8_t* alphabet = file.data() + L::kAlphabetAt;
  for (size_t i = L::kPlainSize; i < image.size(); ++i) {
    const size_t at = L::kPlainSize + 2 * (i - L::kPlainSize);
    image[i] = decodePair(file[at], file[at + 1], alphabet);
  }
  return image;
}

FileResult decodePreset(std::span<const uint8_t> file, DecodedPreset& out) {
  const auto decoded = decodePresetImage(file);
  if (!decoded || decoded->size() < L::kHeaderEnd) return FileResult::ChecksumMismatch;
  const std::vector<uint8_t>& image = *decoded;

  const PresetHeader header = parseHeader(image);
  if (!layoutFits(header, image.size())) return FileResult::ChecksumMismatch;
  const size_t end = L::imageEnd(header.headerSize, header.registerCount);
  // Compared as 32 bits: a stored value with a non-zero upper half never matches.
  if (getU32(image, end) != crc16(image.data(), end)) return FileResult::ChecksumMismatch;

  std::vector<int32_t> values(header.registerCount + 20, 0);
  for (size_t r = 0; r < header.registerCount; ++r) {
    const size_t at = header.headerSize + 2 * r;
    values[r] = image[at] | (image[at + 1] << 8);
  }
  out.header = header;
  out.values = std::move(values);
  return FileResult::Ok;
}

}  // namespace zr78
