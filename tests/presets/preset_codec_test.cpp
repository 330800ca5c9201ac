// The preset file's bytes: what this writer produces, what any writer's file
// must give here, and that damage of any kind is refused without harm.
#include "presets/preset_codec.h"

#include <gtest/gtest.h>

#include <set>

#include "preset_test_support.h"

namespace zr78 {
namespace {

using test::getU32;
using test::handEncode;
using test::handImage;

PresetHeader sampleHeader() {
  PresetHeader header;
  header.deviceId = 0x12345678;
  header.reservedA = 7;
  header.passwordFlag = 1;
  header.reservedB = 0xCAFEBABE;
  header.time = {2026, 12, 10, 9, 8, 7};
  return header;
}

class PresetCodec : public ::testing::Test {
 protected:
  std::mt19937 random{12345};
  std::array<int32_t, kPresetRegisterCount> values = test::sampleValues(1);
  std::vector<uint8_t> file = encodePreset(sampleHeader(), values, random);

  FileResult decode(const std::vector<uint8_t>& bytes) {
    DecodedPreset out;
    return decodePreset(bytes, out);
  }
  std::set<uint8_t> usedAlphabet() const { return {file.begin() + 20, file.begin() + 36}; }
};

TEST_F(PresetCodec, WritesTheLayoutByteForByte) {
  ASSERT_EQ(file.size(), 7490u);
  const auto image = decodePresetImage(file);
  ASSERT_TRUE(image);
  ASSERT_EQ(image->size(), 3873u);  // the trailing pair decodes to one ignored byte
  EXPECT_TRUE(std::equal(file.begin(), file.begin() + 256, image->begin()));
  EXPECT_EQ(std::set<uint8_t>(file.begin() + 20, file.begin() + 40).size(), 20u) << "alphabet bytes differ pairwise";
  const std::pair<size_t, uint32_t> fields[] = {
      {256, 512}, {266, 1678}, {276, 0x12345678}, {286, 7},  {301, 0xCAFEBABE}, {306, 2026}, {311, 12},
      {316, 10},  {321, 9},    {326, 8},          {331, 7},  {341, 1678},       {351, 1}};
  for (const auto& [offset, value] : fields) EXPECT_EQ(getU32(*image, offset), value) << "offset " << offset;
  EXPECT_EQ((*image)[296], 1);
  for (size_t r = 0; r < kPresetRegisterCount; ++r)
    ASSERT_EQ((*image)[512 + 2 * r] | (*image)[513 + 2 * r] << 8, values[r] & 0xFFFF) << "register " << r;
  EXPECT_EQ(getU32(*image, 3868), crc16(image->data(), 3868));
}

TEST_F(PresetCodec, ReadsBackHeaderAndValues) {
  DecodedPreset out;
  ASSERT_EQ(decodePreset(file, out), FileResult::Ok);
  EXPECT_EQ(out.header, sampleHeader());
  ASSERT_EQ(out.values.size(), kPresetRegisterCount + 20u);
  EXPECT_TRUE(std::equal(values.begin(), values.end(), out.values.begin()));
  EXPECT_TRUE(std::all_of(out.values.begin() + kPresetRegisterCount, out.values.end(), [](int32_t v) { return v == 0; }));
}

TEST_F(PresetCodec, StoresTheLow16BitsOfEachValue) {
  values[5] = 0x7ABCD;
  values[6] = -1;
  DecodedPreset out;
  ASSERT_EQ(decodePreset(encodePreset(sampleHeader(), values, random), out), FileResult::Ok);
  EXPECT_EQ(out.values[5], 0xABCD);
  EXPECT_EQ(out.values[6], 0xFFFF);
}

TEST_F(PresetCodec, TwoWritesDifferButReadTheSame) {
  const std::vector<uint8_t> second = encodePreset(sampleHeader(), values, random);
  EXPECT_NE(file, second);
  EXPECT_FALSE(std::equal(file.begin() + 20, file.begin() + 40, second.begin() + 20)) << "a new alphabet each time";
  DecodedPreset a, b;
  ASSERT_EQ(decodePreset(file, a), FileResult::Ok);
  ASSERT_EQ(decodePreset(second, b), FileResult::Ok);
  EXPECT_EQ(a.header, b.header);
  EXPECT_EQ(a.values, b.values);
}

// Other writers may choose a larger header, other reserved and filler bytes,
// any alphabet, and any trailing bytes; the reader takes them all.
TEST_F(PresetCodec, ReadsAFileOfAnotherWriter) {
  std::vector<uint16_t> registers(1678);
  for (size_t r = 0; r < registers.size(); ++r) registers[r] = static_cast<uint16_t>(r * 37);
  auto image = handImage(600, 1678, 42, registers, 600 + 3356 + 4);
  test::fixChecksum(image, 600 + 3356);
  DecodedPreset out;
  ASSERT_EQ(decodePreset(handEncode(image, 0x13, 0x37), out), FileResult::Ok);
  EXPECT_EQ(out.header.headerSize, 600u);
  EXPECT_EQ(out.header.deviceId, 42u);
  EXPECT_EQ(out.header.time, (PresetTime{2024, 2, 29, 23, 59, 58}));
  EXPECT_EQ(out.values[1677], static_cast<int32_t>(1677 * 37 & 0xFFFF));
}

TEST_F(PresetCodec, ReadsAShorterImage) {
  auto image = handImage(512, 1000, 1, std::vector<uint16_t>(1000, 0x1234), 512 + 2000 + 4);
  test::fixChecksum(image, 512 + 2000);
  DecodedPreset out;
  ASSERT_EQ(decodePreset(handEncode(image), out), FileResult::Ok);
  ASSERT_EQ(out.values.size(), 1020u);
  EXPECT_EQ(out.values[999], 0x1234);
  EXPECT_EQ(out.values[1000], 0);
}

TEST_F(PresetCodec, AnyChangeOfThePlainBytesIsRefused) {
  for (size_t i = 0; i < 256; ++i) {
    auto damaged = file;
    damaged[i] ^= 0x01;
    EXPECT_EQ(decode(damaged), FileResult::ChecksumMismatch) << "byte " << i;
  }
}

TEST_F(PresetCodec, AnotherAlphabetByteIsRefused) {
  for (size_t i = 256; i < file.size() - 2; ++i) {
    auto damaged = file;
    const auto entry = std::find(file.begin() + 20, file.begin() + 36, file[i]) - (file.begin() + 20);
    damaged[i] = file[20 + (entry + 1) % 16];
    ASSERT_EQ(decode(damaged), FileResult::ChecksumMismatch) << "byte " << i;
  }
}

// A byte outside entries 0..15 decodes as nibble 15: harmless exactly where
// the nibble was 15 already. Entry 16 is stored but never used, so it counts
// as outside too.
TEST_F(PresetCodec, AnOutsideByteCountsAsNibble15) {
  ASSERT_EQ(usedAlphabet().count(file[36]), 0u);
  int harmless = 0;
  for (size_t i = 256; i < file.size() - 2; ++i) {
    auto damaged = file;
    damaged[i] = file[36];
    const bool wasNibble15 = file[i] == file[20 + 15];
    harmless += wasNibble15;
    ASSERT_EQ(decode(damaged), wasNibble15 ? FileResult::Ok : FileResult::ChecksumMismatch) << "byte " << i;
  }
  EXPECT_GT(harmless, 0);
}

TEST_F(PresetCodec, TheTrailingBytesAreIgnored) {
  for (const std::pair<uint8_t, uint8_t> trailing : {std::pair{0x00, 0x00}, {file[20], file[21]}, {0xFF, 0x7E}}) {
    auto other = file;
    other[7488] = trailing.first;
    other[7489] = trailing.second;
    EXPECT_EQ(decode(other), FileResult::Ok);
  }
}

TEST_F(PresetCodec, AChecksumWithAnUpperHalfNeverMatches) {
  auto image = *decodePresetImage(file);
  image.pop_back();  // the trailing pair's byte; handEncode adds it again
  for (const uint32_t upper : {0x00010000u, 0x80000000u, 0xFFFF0000u}) {
    auto damaged = image;
    test::putU32(damaged, 3868, crc16(damaged.data(), 3868) | upper);
    EXPECT_EQ(decode(handEncode(damaged)), FileResult::ChecksumMismatch) << std::hex << upper;
  }
}

// Files whose size or layout numbers put something outside the decoded data:
// refused, nothing read outside the buffer (the sanitizer builds watch), and
// the previous contents of the output kept.
TEST_F(PresetCodec, RefusesInconsistentFilesAndKeepsTheOutput) {
  const std::vector<uint16_t> none;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  auto encoded = [&](uint32_t headerSize, uint32_t count, size_t size) {
    auto image = handImage(headerSize, count, 9, none, size);
    const uint64_t end = uint64_t{headerSize} + 2 * uint64_t{count};
    if (end + 4 <= size) test::fixChecksum(image, end);
    return handEncode(image);
  };
  const std::vector<uint8_t> noTrailer(file.begin(), file.end() - 2);
  const Case cases[] = {
      {"empty", {}},
      {"shorter than the plain part", std::vector<uint8_t>(file.begin(), file.begin() + 255)},
      {"plain part only", std::vector<uint8_t>(file.begin(), file.begin() + 256)},
      {"odd tail", std::vector<uint8_t>(file.begin(), file.end() - 1)},
      {"ends inside the header", std::vector<uint8_t>(file.begin(), file.begin() + 256 + 2 * 100)},
      {"truncated image", std::vector<uint8_t>(file.begin(), file.begin() + 6000)},
      {"headerSize past the end", encoded(7000, 1678, 3872)},
      {"headerSize near 2^32", encoded(0xFFFFFFF0u, 1678, 3872)},
      {"headerSize inside the header", encoded(300, 1678, 300 + 3356 + 4)},
      {"registerCount 1679", encoded(512, 1679, 512 + 3358 + 4)},
      {"registerCount 2^32-1", encoded(512, 0xFFFFFFFFu, 3872)},
      {"checksum past the end", encoded(512, 1678, 512 + 3356 + 2)},
  };
  DecodedPreset out;
  out.header.deviceId = 77;
  out.values = {1, 2, 3};
  for (const Case& c : cases) {
    EXPECT_EQ(decodePreset(c.bytes, out), FileResult::ChecksumMismatch) << c.name;
    EXPECT_EQ(out.header.deviceId, 77u) << c.name;
    EXPECT_EQ(out.values, (std::vector<int32_t>{1, 2, 3})) << c.name;
  }
  EXPECT_EQ(decodePreset(noTrailer, out), FileResult::Ok) << "the trailing pair itself is not needed";
}

}  // namespace
}  // namespace zr78
