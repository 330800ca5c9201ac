// The preset file (".ryb") layout, drawn once.
//
// Decoded image (numbers little-endian; H = headerSize, N = registerCount;
// this program writes H = 512, N = 1678, 3872 bytes):
//
//    0 +--------------------+
//      | filler        (20) |
//   20 | alphabet      (20) |  20 pairwise different bytes; entries 0..15 used
//   40 | filler       (216) |
//  256 +--------------------+  --- encoded from here on ---
//      | headerSize   u32+4 |  each "+4": four reserved bytes after the field
//  264 | filler         (2) |
//  266 | registerCount u32+4|
//  274 | filler         (2) |
//  276 | deviceId     u32+4 |
//  284 | filler         (2) |
//  286 | reservedA    u32+4 |
//  294 | filler         (2) |
//  296 | passwordFlag    u8 |  1 = protected
//  297 | filler         (4) |
//  301 | reservedB u32 + 1  |  one reserved byte
//  306 | year   u32, filler |  each time field: u32 then one filler byte
//  311 | month              |
//  316 | day                |
//  321 | hour               |
//  326 | minute             |
//  331 | second u32         |
//  335 | filler         (6) |
//  341 | registerCount u32+4|  second copy, ignored by the reader
//  349 | filler         (2) |
//  351 | formatOne    u32+4 |  the value 1
//  359 | filler   (H - 359) |
//    H | registers   u16[N] |  address 0 first
// H+2N | checksum       u32 |  CRC-16/MODBUS of bytes 0 .. H+2N-1, upper half 0
//      +--------------------+
//
// Encoded file: decoded bytes 0..255 as they are; every later decoded byte b
// as the pair alphabet[b >> 4], alphabet[b & 15]; then two trailing bytes.
// H = 512, N = 1678: 256 + 2 * 3616 + 2 = 7490 bytes. The trailing pair
// decodes to one more byte that lies outside the checksum and is ignored.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zr78::preset_layout {

// Offsets (...At) and sizes in the decoded image.

constexpr size_t kPlainSize = 256;  // bytes stored unencoded
constexpr size_t kAlphabetAt = 20;
constexpr size_t kAlphabetSize = 20;  // entries stored
constexpr size_t kAlphabetUsed = 16;

constexpr size_t kHeaderSizeAt = 256;
constexpr size_t kRegisterCountAt = 266;
constexpr size_t kDeviceIdAt = 276;
constexpr size_t kReservedAAt = 286;
constexpr size_t kPasswordFlagAt = 296;
constexpr size_t kReservedBAt = 301;
constexpr size_t kTimeFieldsAt[6] = {306, 311, 316, 321, 326, 331};  // Y M D h m s
constexpr size_t kRegisterCountCopyAt = 341;
constexpr size_t kFormatOneAt = 351;
constexpr size_t kHeaderEnd = 359;  // first byte after the fixed fields

constexpr uint32_t kWrittenHeaderSize = 512;
constexpr uint32_t kWrittenRegisterCount = 1678;
constexpr uint32_t kFormatOneValue = 1;
constexpr uint32_t kMaxRegisterCount = 1678;  // a reader refuses more
constexpr size_t kTrailingBytes = 2;

constexpr size_t kChecksumSize = 4;
constexpr size_t imageEnd(size_t headerSize, size_t registerCount) { return headerSize + 2 * registerCount; }
constexpr size_t decodedSize(size_t headerSize, size_t registerCount) {
  return imageEnd(headerSize, registerCount) + kChecksumSize;
}
constexpr size_t encodedSize(size_t decoded) { return kPlainSize + 2 * (decoded - kPlainSize) + kTrailingBytes; }

static_assert(decodedSize(kWrittenHeaderSize, kWrittenRegisterCount) == 3872);
static_assert(encodedSize(decodedSize(kWrittenHeaderSize, kWrittenRegisterCount)) == 7490);
static_assert(kTimeFieldsAt[5] + 4 <= kRegisterCountCopyAt);

}  // namespace zr78::preset_layout
