// The frame and packet layouts, drawn once.
//
// Frame (both directions), N data bytes:
//
//   +------+-----+-----+----------------+--------+--------+
//   | 0x80 |  L  | cmd | data (N bytes) | CRC hi | CRC lo |
//   +------+-----+-----+----------------+--------+--------+
//     L = N + 3 when N <= 249, else 255; a frame is N + 5 bytes.
//     CRC-16/MODBUS over start, length, command and data (N + 3 bytes).
//
// Packet (one per frame) carried in 64-byte pieces of 65-byte HID reports
// (byte 0 = report id 0), the last piece padded with zeros:
//
//   +------+------+--------+--------+------+-----------------+
//   | 0xAE | 0x1E | F (hi) | F (lo) | 0xC8 | frame (F bytes) |
//   +------+------+--------+--------+------+-----------------+
//
// Multi-byte numbers inside data are big-endian unless a command says
// otherwise. Register addresses are 16-bit (page * 256 + index).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/crc16.h"

namespace zr78 {

constexpr uint8_t kFrameStart = 0x80;
constexpr size_t kFrameOverhead = 5;      // start, length, command, CRC x2
constexpr size_t kMaxFrameData = 249;     // the longest data sendFrame accepts
constexpr uint8_t kPacketMagic0 = 0xAE;
constexpr uint8_t kPacketMagic1 = 0x1E;
constexpr uint8_t kPacketMagic4 = 0xC8;
constexpr size_t kPacketHeader = 5;

enum Command : uint8_t {
  CMD_IDENTIFY = 0,
  CMD_RECALL_MODE = 1,
  CMD_WRITE_REGISTERS = 3,
  CMD_READ_MODE_NAME = 4,
  CMD_READ_REGISTERS = 6,
  CMD_WRITE_MODE_NAME = 16,
  CMD_MODULE_TEXT = 87,
  CMD_DUMP_ALL = 240,
};

constexpr int kWriteBatchLimit = 24;  // registers per command-3 frame
constexpr int kReadBatchLimit = 25;   // addresses per command-6 frame

// Length byte for N data bytes.
constexpr uint8_t frameLengthByte(size_t dataCount) {
  return dataCount <= 249 ? static_cast<uint8_t>(dataCount + 3) : 255;
}

}  // namespace zr78
