#include "sim/device_packets.h"

#include <algorithm>

namespace zr78::sim {

namespace {

bool startsPacket(const uint8_t* payload) {
  return payload[0] == kPacketMagic0 && payload[1] == kPacketMagic1 && payload[4] == kPacketMagic4;
}

}  // namespace

std::vector<uint8_t> buildFrame(uint8_t command, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> frame;
  frame.reserve(data.size() + kFrameOverhead);
  frame.push_back(kFrameStart);
  frame.push_back(frameLengthByte(data.size()));
  frame.push_back(command);
  frame.insert(frame.end(), data.begin(), data.end());
  const uint16_t crc = crc16(frame.data(), frame.size());
  frame.push_back(static_cast<uint8_t>(crc >> 8));
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  return frame;
}

std::vector<Report> packReports(const std::vector<uint8_t>& frame) {
  std::vector<uint8_t> packet = {kPacketMagic0, kPacketMagic1, static_cast<uint8_t>(frame.size() >> 8),
                                 static_cast<uint8_t>(frame.size() & 0xFF), kPacketMagic4};
  packet.insert(packet.end(), frame.begin(), frame.end());
  std::vector<Report> reports;
  for (size_t offset = 0; offset < packet.size(); offset += kReportPayload) {
    Report report{};  // report id 0, zero padding
    const size_t piece = std::min(kReportPayload, packet.size() - offset);
    std::copy_n(packet.begin() + static_cast<std::ptrdiff_t>(offset), piece, report.begin() + 1);
    reports.push_back(report);
  }
  return reports;
}

std::optional<DeviceFrame> parseFrame(const uint8_t* bytes, size_t count) {
  if (count < kFrameOverhead || bytes[0] != kFrameStart) return std::nullopt;
  const size_t dataCount = count - kFrameOverhead;
  if (bytes[1] != frameLengthByte(dataCount)) return std::nullopt;
  const uint16_t crc = static_cast<uint16_t>(bytes[count - 2] << 8 | bytes[count - 1]);
  if (crc16(bytes, count - 2) != crc) return std::nullopt;
  DeviceFrame frame;
  frame.command = bytes[2];
  frame.data.assign(bytes + 3, bytes + 3 + dataCount);
  return frame;
}

std::optional<DeviceFrame> PacketAssembler::feed(const Report& report) {
  const uint8_t* payload = report.data() + 1;
  size_t offset = 0;
  if (startsPacket(payload)) {
    frame_.clear();
    expected_ = static_cast<size_t>(payload[2] << 8 | payload[3]);
    if (expected_ < kFrameOverhead || expected_ > kMaxPacketFrame) expected_ = 0;  // not a packet of ours
    offset = kPacketHeader;
  }
  if (expected_ == 0) return std::nullopt;
  const size_t take = std::min(kReportPayload - offset, expected_ - frame_.size());
  frame_.insert(frame_.end(), payload + offset, payload + offset + take);
  if (frame_.size() < expected_) return std::nullopt;
  auto frame = parseFrame(frame_.data(), frame_.size());
  reset();
  return frame;
}

void PacketAssembler::reset() {
  frame_.clear();
  expected_ = 0;
}

}  // namespace zr78::sim
