#include "link/hid_transport.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zr78 {

bool HidPort::openDevice() {
  device_.close();
  return device_.open();
}

int HidPort::readReport(uint8_t* report) { return device_.readReport(report, readTimeoutMs_.load()); }

int HidPort::writeReport(const uint8_t* report) { return device_.writeReport(report); }

bool PacketWriter::writePacket(const uint8_t* frame, size_t size) {
  if (size > 0xFFFF) return false;  // the header has 16 bits for the length
  std::vector<uint8_t> packet(kPacketHeader + size);
  packet[0] = kPacketMagic0;
  packet[1] = kPacketMagic1;
  packet[2] = static_cast<uint8_t>(size >> 8);
  packet[3] = static_cast<uint8_t>(size & 0xFF);
  packet[4] = kPacketMagic4;
  std::memcpy(packet.data() + kPacketHeader, frame, size);
  for (size_t offset = 0; offset < packet.size(); offset += kReportPayload) {
    std::array<uint8_t, kReportSize> report{};  // report id 0, zero padding
    const size_t piece = std::min(kReportPayload, packet.size() - offset);
    std::memcpy(report.data() + 1, packet.data() + offset, piece);
    // A short write lost part of the packet: as bad as no write.
    if (io_.writeReport(report.data()) != static_cast<int>(kReportSize)) return false;
  }
  return true;
}

bool PacketWriter::sendFrameUsb(const uint8_t* frame, size_t size) {
  const bool ok = writePacket(frame, size);
  state_.connected.store(ok);
  return ok;
}

void PacketAssembler::reset() {
  fill_ = 0;
  expected_ = 0;
}

size_t PacketAssembler::feed(const uint8_t* payload, size_t count) {
  count = std::min(count, kReportPayload);
  const bool starts = count >= kPacketHeader && payload[0] == kPacketMagic0 &&
                      payload[1] == kPacketMagic1 && payload[4] == kPacketMagic4;
  if (starts) {
    expected_ = static_cast<size_t>(payload[2]) << 8 | payload[3];
    // A packet longer than the buffer cannot be assembled: drop it, and let
    // its continuations fall into the buffer without ever completing.
    if (expected_ > kBufferSize) expected_ = 0;
    fill_ = count - kPacketHeader;
    std::memcpy(buffer_.data(), payload + kPacketHeader, fill_);
  } else {
    if (fill_ > kRestartFill) fill_ = 0;
    std::memcpy(buffer_.data() + fill_, payload, count);
    fill_ += count;
  }
  if (expected_ == 0 || fill_ < expected_) return 0;
  const size_t length = expected_;
  // Delivered once: a stray continuation must not deliver it again.
  expected_ = 0;
  fill_ = length;
  return length;
}

void HidReader::start() {
  if (alive_.load()) return;
  if (thread_.joinable()) thread_.join();  // an ended reader
  // Alive from here, so that a wait right after start() does not see a dead reader.
  alive_.store(true);
  thread_ = std::thread([this] { run(); });
}

void HidReader::stopAndJoin() {
  alive_.store(false);
  if (thread_.joinable()) thread_.join();
}

void HidReader::run() {
  PacketAssembler assembler;
  std::array<uint8_t, kReportSize> report{};
  while (state_.running.load() && alive_.load()) {
    const int count = io_.readReport(report.data());
    if (count < 0) break;
    if (count <= 1) continue;  // a read timeout: keep reading
    const size_t payload = std::min(static_cast<size_t>(count) - 1, kReportPayload);
    const size_t length = assembler.feed(report.data() + 1, payload);
    if (length > 0) receiver_.receiveBytes(assembler.frame(), length);
  }
  state_.connected.store(false);
  alive_.store(false);
}

}  // namespace zr78
