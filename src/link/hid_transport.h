// The USB HID transport: packets of one frame each, carried in 64-byte pieces
// of 65-byte reports (layout in frame_format.h), and the reader thread that
// reassembles incoming packets for the frame receiver.
//
// Threads: PacketWriter writes from the sync worker only; HidReader reads on its
// own thread; HidPort::closeDevice may run on any thread (HidDevice::close
// makes a pending read return).
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

#include "link/frame_codec.h"
#include "link/hid_device.h"
#include "link/link_state.h"

namespace zr78 {

// The device's four operations with the link's waits.
class HidPort {
 public:
  explicit HidPort(HidDevice& device) : device_(device) {}

  // The wait of one input report (LinkTiming::reportReadTimeout); read by the
  // reader thread, set by the worker at each connection attempt.
  void setReadTimeout(int ms) { readTimeoutMs_.store(ms); }

  // Closes an earlier open first.
  bool openDevice();
  // Byte count, 0 when no report arrived within the read timeout, -1 on error.
  int readReport(uint8_t* report);
  int writeReport(const uint8_t* report);
  void closeDevice() { device_.close(); }

 private:
  HidDevice& device_;
  std::atomic<int> readTimeoutMs_{500};
};

// Packet writing (sync worker only).
class PacketWriter final : public FrameWriter {
 public:
  PacketWriter(HidDevice& device, LinkState& state) : io_(device), state_(state) {}

  HidPort& io() { return io_; }

  // Header and frame in reports, the last padded with zeros. Fails at the
  // first write that does not move the whole report.
  bool writePacket(const uint8_t* frame, size_t size);
  // writePacket, with `connected` set to its result.
  bool sendFrameUsb(const uint8_t* frame, size_t size);
  bool writeFrame(const uint8_t* frame, size_t size) override { return sendFrameUsb(frame, size); }

 private:
  HidPort io_;
  LinkState& state_;
};

// Reassembly of incoming packets from report payloads.
class PacketAssembler {
 public:
  static constexpr size_t kBufferSize = 1024;
  // Past this fill position a continuation starts over at 0 (then 64 more
  // bytes still fit in the buffer).
  static constexpr size_t kRestartFill = 959;

  // One report payload (at most 64 bytes). Returns the length of a complete
  // frame now at frame(), or 0.
  size_t feed(const uint8_t* payload, size_t count);
  const uint8_t* frame() const { return buffer_.data(); }
  void reset();

 private:
  std::array<uint8_t, kBufferSize> buffer_{};
  size_t fill_ = 0;
  size_t expected_ = 0;  // frame length of the packet being assembled; 0: none
};

// The reader thread: reads reports until a read fails, `running` is cleared
// or stop() is called, and feeds the receiver; clears `connected` when it ends.
class HidReader {
 public:
  HidReader(HidPort& io, FrameReceiver& receiver, LinkState& state)
      : io_(io), receiver_(receiver), state_(state) {}
  ~HidReader() { stopAndJoin(); }
  HidReader(const HidReader&) = delete;
  HidReader& operator=(const HidReader&) = delete;

  // Starts a new thread unless one is alive (joins an ended one first).
  void start();
  bool alive() const { return alive_.load(); }
  // Asks the thread to end after its current read, and waits for it.
  void stopAndJoin();

 private:
  void run();

  HidPort& io_;
  FrameReceiver& receiver_;
  LinkState& state_;
  std::atomic<bool> alive_{false};
  std::thread thread_;
};

}  // namespace zr78
