// The receiver's scan: resynchronise on the start byte, skip a candidate
// whose length is impossible or whose CRC does not match (one byte on, the
// start byte may have been data), wait while a candidate is incomplete.
#include <algorithm>

#include "link/frame_codec.h"

namespace zr78 {

namespace {

// The longest frame the scan can accept: length byte 255 plus start and
// length bytes.
constexpr size_t kLongestFrame = 255 + 2;

}  // namespace

FrameReceiver::FrameReceiver(RegisterTable& table, LinkState& state, const Clock& clock)
    : table_(table), state_(state), clock_(clock) {}

void FrameReceiver::receiveBytes(const uint8_t* bytes, size_t count) {
  // The lock is held over the scan: dispatch takes no other lock, and
  // bufferedBytes/clear on other threads then never see a half-consumed buffer.
  std::lock_guard<std::mutex> lock(mutex_);
  // A candidate that was complete in the bytes already scanned has been
  // decided for good (accepted frames were consumed): only the last
  // kLongestFrame - 1 of them can still complete, so the scan resumes there
  // and the work per piece stays bounded however much garbage is kept.
  const size_t scanned = buffer_.size() < kFrameOverhead ? 0 : buffer_.size();
  const size_t resume = scanned >= kLongestFrame ? scanned - (kLongestFrame - 1) : 0;
  if (count > 0) buffer_.insert(buffer_.end(), bytes, bytes + count);
  if (buffer_.size() < kFrameOverhead) return;
  const size_t consumed = scanAndDispatch(resume);
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(consumed));
  boundBuffer();
}

size_t FrameReceiver::bufferedBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return buffer_.size();
}

void FrameReceiver::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  buffer_.clear();
}

size_t FrameReceiver::scanAndDispatch(size_t from) {
  const size_t size = buffer_.size();
  const uint8_t* buf = buffer_.data();
  size_t consumed = 0;
  size_t i = from;
  while (i + 1 < size) {  // a start byte as the last byte waits for its length
    if (buf[i] != kFrameStart) {
      ++i;
      continue;
    }
    const size_t length = buf[i + 1];
    // Below 3 there is no room for start, length and command; an incomplete
    // candidate stays in the buffer and may complete with the next piece.
    if (length < 3 || i + length + 2 > size) {
      ++i;
      continue;
    }
    const uint16_t received = static_cast<uint16_t>(buf[i + length] << 8 | buf[i + length + 1]);
    if (crc16(buf + i, length) != received) {
      ++i;
      continue;
    }
    state_.missCount.store(0);
    state_.lastReceiveTick.store(clock_.tickMs());
    dispatch(buf[i + 2], buf + i + 3, length - 3);
    // Go on after the frame: a start byte inside its data is not a frame.
    consumed = i + length + 2;
    i = consumed;
  }
  return consumed;
}

void FrameReceiver::boundBuffer() {
  if (buffer_.size() <= kReceiveBufferLimit) return;
  // Whatever is left holds no complete good frame. Only a candidate within
  // the last kLongestFrame - 1 bytes can still complete; keep from its start.
  const auto tail = buffer_.end() - static_cast<std::ptrdiff_t>(kLongestFrame - 1);
  const auto start = std::find(tail, buffer_.end(), kFrameStart);
  buffer_.erase(buffer_.begin(), start);
}

}  // namespace zr78
