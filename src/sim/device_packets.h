// The amplifier's end of the packet layer: output reports from the host are
// reassembled into frames, reply frames are cut into input reports. Written
// apart from the host's codec on purpose, so that each is a test peer for the
// other; only the frame constants and crc16 are shared.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/frame_format.h"
#include "link/hid_device.h"

namespace zr78::sim {

using Report = std::array<uint8_t, kReportSize>;

// Packets longer than this are refused (the host's reader holds 1024 bytes).
constexpr size_t kMaxPacketFrame = 1024;

struct DeviceFrame {
  uint8_t command = 0;
  std::vector<uint8_t> data;
};

// Frame bytes for a command and its data (the layout of frame_format.h).
std::vector<uint8_t> buildFrame(uint8_t command, const std::vector<uint8_t>& data);

// The frame inside a packet: 0xAE 0x1E F_hi F_lo 0xC8 + frame, carried in
// 64-byte pieces of 65-byte reports (report id 0), the last padded with zeros.
std::vector<Report> packReports(const std::vector<uint8_t>& frame);

// A whole frame checked: start byte, length byte consistent with its size,
// CRC. Anything else is no frame.
std::optional<DeviceFrame> parseFrame(const uint8_t* bytes, size_t count);

// Reassembles the packets of consecutive output reports. A report whose
// payload carries the packet magic starts a new packet (a lost piece of the
// previous one then simply loses that packet); a piece without a started
// packet is dropped.
class PacketAssembler {
 public:
  // Feed one report (65 bytes, byte 0 the report id). Returns the frame when
  // this report completes a packet whose frame checks out.
  std::optional<DeviceFrame> feed(const Report& report);
  void reset();

 private:
  std::vector<uint8_t> frame_;
  size_t expected_ = 0;  // frame bytes of the current packet; 0 = none open
};

}  // namespace zr78::sim
