// Building and sending frames, and the receiver that scans incoming bytes for
// frames and applies them (the layout is drawn in frame_format.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <vector>

#include "link/frame_format.h"
#include "link/link_state.h"
#include "registers/register_table.h"
#include "platform/clock.h"

namespace zr78 {

// Sends before the device's silence ends the connection: the miss that finds
// missCount at this value clears `connected` (and missCount).
constexpr uint8_t kMissesBeforeDisconnect = 4;

// Bound of the receive buffer: beyond it only the bytes from the last start
// byte on are kept (a frame is at most 257 bytes, so nothing complete is lost).
constexpr size_t kReceiveBufferLimit = 64 * 1024;

// The whole frame for `count` data bytes; empty when count > kMaxFrameData.
std::vector<uint8_t> buildFrame(uint8_t command, const uint8_t* data, size_t count);

// Where built frames go (the USB transport, or a test's recorder).
class FrameWriter {
 public:
  virtual ~FrameWriter() = default;
  virtual bool writeFrame(const uint8_t* frame, size_t size) = 0;
};

// Used by the sync worker only.
class FrameSender {
 public:
  FrameSender(LinkState& state, const Clock& clock, FrameWriter& writer);

  // LinkTiming::silenceLimit; set at each connection attempt.
  void setSilenceLimit(int ms) { silenceLimitMs_ = ms; }

  // Builds the frame, applies the miss rule (not for CMD_MODULE_TEXT) and
  // writes it. False only when refused (more than kMaxFrameData bytes); write
  // errors show only in state.connected.
  bool sendFrame(uint8_t command, const uint8_t* data, size_t count);
  bool sendFrame(uint8_t command, std::initializer_list<uint8_t> data) {
    return sendFrame(command, data.begin(), data.size());
  }

 private:
  // True when this send is the one that declares the link dead.
  bool applyMissRule();

  LinkState& state_;
  const Clock& clock_;
  FrameWriter& writer_;
  int silenceLimitMs_ = 1500;
};

// Fed by the reader thread only; bufferedBytes and clear may be called from
// any thread (the buffer's mutex guards them).
class FrameReceiver {
 public:
  FrameReceiver(RegisterTable& table, LinkState& state, const Clock& clock);

  // Appends a piece of input, dispatches every complete frame with a correct
  // CRC and drops the bytes up to the end of the last one accepted.
  void receiveBytes(const uint8_t* bytes, size_t count);
  size_t bufferedBytes() const;
  void clear();

 private:
  void boundBuffer();
  // Scans the buffer from `from` on; returns the consume point (0 when
  // nothing was accepted).
  size_t scanAndDispatch(size_t from);
  void dispatch(uint8_t command, const uint8_t* data, size_t count);

  RegisterTable& table_;
  LinkState& state_;
  const Clock& clock_;
  mutable std::mutex mutex_;  // guards buffer_
  std::vector<uint8_t> buffer_;
};

}  // namespace zr78
