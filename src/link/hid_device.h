// The whole device interface: open, read one report, write one report, close.
//
// A report is 65 bytes: byte 0 is the report id (0), bytes 1..64 the payload,
// so 64 bytes of payload need 65. Input and output reports have the same size.
//
// Return convention (every backend): a byte count on success, 0 on a read
// timeout, -1 on an error (device gone, handle closed).
//
// Threads: readReport is called from the reader thread only, writeReport from
// the sync worker only; close may be called from any thread while a read is
// in progress and must make that read return promptly (0 or -1), never crash.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zr78 {

constexpr size_t kReportSize = 65;
constexpr size_t kReportPayload = 64;
constexpr uint16_t kVendorId = 0x4084;   // 16516
constexpr uint16_t kProductId = 0x4357;  // 17239

class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Find and open the amplifier (the first matching interface wins).
  virtual bool open() = 0;
  // Read one 65-byte input report into `report`, waiting at most timeoutMs.
  virtual int readReport(uint8_t* report, int timeoutMs) = 0;
  // Write one 65-byte output report.
  virtual int writeReport(const uint8_t* report) = 0;
  // Cancel pending I/O and close. Safe to call when not open.
  virtual void close() = 0;
};

}  // namespace zr78
