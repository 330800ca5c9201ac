// The frame receiver on arbitrary bytes from the amplifier's side of the
// cable, fed in arbitrary report-sized pieces -- directly, or as HID report
// payloads through the packet assembler as the reader thread feeds it.
//
// Beyond no crash, no read outside a buffer and no hang, it checks that every
// change to the register table is explained by a frame with a good CRC among
// the bytes the receiver was given: a stored value by a read reply (command 6)
// carrying that address and value (and never over a pending edit), a read
// mark by a read reply for the address, a cleared dirty mark by a write echo
// (command 3) of the stored value, a new dirty mark by an echo for the
// address (an older write applied after the one that made the record clean).
//
// Input: byte 0 chooses the path (bit 0: HID reports, bit 1: whole 64-byte
// reports), the passes (bits 2..3: 1..4; bits 5..7 all set: up to 64, so
// that the receive buffer's bound is reached) and whether the harness gives
// the frames in the stream their correct CRC (bit 4); bytes 1..4 seed the
// piece sizes; the rest is the byte stream.
#include <array>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <unordered_set>
#include <vector>

#include "link/frame_codec.h"
#include "link/hid_device.h"
#include "link/hid_transport.h"
#include "platform/crc16.h"
#include "registers/register_map.h"

namespace {

using namespace zr78;

// The checks are not what is fuzzed: their comparisons would only flood the
// fuzzer's coverage feedback and cost most of its time.
#define NOT_FUZZED __attribute__((no_sanitize("coverage")))

class FixedClock final : public Clock {
 public:
  uint32_t tickMs() const override { return 4242; }
};

struct RecordState {
  int32_t value;
  uint8_t tries;
  uint32_t fromDevice, dirty, reread;
};

using Snapshot = std::array<RecordState, kRecordCount>;

NOT_FUZZED void snapshot(const RegisterTable& table, Snapshot& records) {
  for (int a = 0; a < kRecordCount; ++a) {
    const RegisterState r = table.state(a);
    records[a] = {r.value, table.tries(a), table.fromDevice(a) ? 1u : 0u, r.dirty ? 1u : 0u,
                  table.rereadRequested(a) ? 1u : 0u};
  }
}

uint32_t key(uint32_t address, uint32_t value) { return address << 16 | (value & 0xFFFF); }

// Every frame with a good CRC that ends within the bytes the receiver has
// been given: the receiver can have accepted no other.
class Explanations {
 public:
  // Returns whether a good frame ends in the new bytes.
  NOT_FUZZED bool extend(const uint8_t* bytes, size_t count) {
    bool found = false;
    const size_t before = stream_.size();
    stream_.insert(stream_.end(), bytes, bytes + count);
    const size_t after = stream_.size();
    const size_t from = before > 257 ? before - 257 : 0;
    for (size_t i = from; i + 1 < after; ++i) {
      if (stream_[i] != kFrameStart) continue;
      const size_t length = stream_[i + 1];
      const size_t end = i + length + 2;
      if (length < 3 || end <= before || end > after) continue;
      const uint16_t crc = static_cast<uint16_t>(stream_[i + length] << 8 | stream_[i + length + 1]);
      if (crc16(stream_.data() + i, length) != crc) continue;
      explain(stream_[i + 2], stream_.data() + i + 3, length - 3);
      found = true;
    }
    return found;
  }

  // Read replies store up to the spare record 1678; echoes acknowledge the
  // device's registers only.
  bool stored(int address, int32_t value) const {
    return address <= kRegisterCount && reads_.count(key(address, value)) > 0;
  }
  bool read(int address) const { return address <= kRegisterCount && readAddresses_.count(address) > 0; }
  bool acknowledged(int address, int32_t value) const {
    return address < kRegisterCount && echoes_.count(key(address, value)) > 0;
  }
  bool echoed(int address) const { return address < kRegisterCount && echoAddresses_.count(address) > 0; }

 private:
  NOT_FUZZED void explain(uint8_t command, const uint8_t* data, size_t count) {
    if (command == 6 || command == 3) {
      for (size_t k = 0; k + 4 <= count; k += 4) {
        const uint32_t address = data[k] << 8 | data[k + 1], value = data[k + 2] << 8 | data[k + 3];
        (command == 6 ? reads_ : echoes_).insert(key(address, value));
        (command == 6 ? readAddresses_ : echoAddresses_).insert(address);
      }
    }
  }

  std::vector<uint8_t> stream_;
  std::unordered_set<uint32_t> reads_, echoes_, readAddresses_, echoAddresses_;
};

[[noreturn]] void unexplained(const char* what, int address, const RecordState& was, const RecordState& now) {
  std::fprintf(stderr, "unexplained %s at register %d: value %d -> %d, dirty %u -> %u, fromDevice %u -> %u\n", what,
               address, was.value, now.value, was.dirty, now.dirty, was.fromDevice, now.fromDevice);
  std::abort();
}

NOT_FUZZED void checkChanges(const Snapshot& was, const Snapshot& now, const Explanations& why) {
  for (int a = 0; a < kRecordCount; ++a) {
    const RecordState& w = was[a];
    const RecordState& n = now[a];
    // Between two comparisons a pending edit may have been acknowledged (an
    // echo of its value) and then read anew.
    const bool editAcknowledged = why.acknowledged(a, w.value);
    if (n.value != w.value) {
      if (n.value < 0 || n.value > 0xFFFF) unexplained("value out of range", a, w, n);
      if (!why.stored(a, n.value)) unexplained("stored value", a, w, n);
      if (w.dirty && !editAcknowledged) unexplained("pending edit replaced", a, w, n);
    }
    if (n.fromDevice && !w.fromDevice && !why.read(a)) unexplained("read mark", a, w, n);
    if (w.dirty && !n.dirty && !editAcknowledged && !why.acknowledged(a, n.value))
      unexplained("acknowledgement", a, w, n);
    if (n.dirty && !w.dirty && !why.echoed(a)) unexplained("dirty mark", a, w, n);
    // Tries go back to 0 only by an acknowledgement (the record may have been
    // marked again since, by an older write's echo).
    if (n.tries != w.tries && !(n.tries == 0 && (!n.dirty || why.echoed(a)))) unexplained("tries", a, w, n);
    if (n.reread != w.reread) unexplained("reread mark", a, w, n);
  }
}

// Gives every complete frame candidate, first to last, its correct CRC: the
// fuzzer cannot forge CRCs, and so reaches what the receiver does with the
// contents of good frames.
NOT_FUZZED void seal(std::vector<uint8_t>& stream) {
  for (size_t i = 0; i + 1 < stream.size();) {
    const size_t length = stream[i + 1];
    if (stream[i] != kFrameStart || length < 3 || i + length + 2 > stream.size()) {
      ++i;
      continue;
    }
    const uint16_t crc = crc16(stream.data() + i, length);
    stream[i + length] = static_cast<uint8_t>(crc >> 8);
    stream[i + length + 1] = static_cast<uint8_t>(crc);
    i += length + 2;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const uint8_t mode = data[0];
  const bool throughPackets = mode & 1;
  const bool fullReports = mode & 2;  // packet path: 64-byte payloads, as a device sends them
  std::mt19937 random(static_cast<uint32_t>(data[1] | data[2] << 8 | data[3] << 16 | uint32_t{data[4]} << 24));
  std::vector<uint8_t> bytes(data + 5, data + size);
  if (mode & 0x10) seal(bytes);
  const uint8_t* stream = bytes.data();
  const size_t length = bytes.size();
  // Mostly a few passes; one input in eight is sent often enough to pass the
  // receive buffer's bound (up to 64 times, never much beyond the bound).
  const size_t toTheBound = std::min<size_t>(64, 1 + (kReceiveBufferLimit + 4096) / std::max<size_t>(length, 1));
  const size_t repeats = (mode & 0xE0) == 0xE0 ? toTheBound : 1 + ((mode >> 2) & 3);

  RegisterTable table;
  table.initRegisters();
  // Some records wait for the echo of their first send, so that
  // acknowledgements show; some others have been acknowledged already, so
  // that an older write's echo can mark them again.
  for (int a = 0; a < kRegisterCount; a += 3) {
    table.setDirty(a, true);
    table.beginSend(a);
  }
  for (int a = 1; a < kRegisterCount; a += 6) {
    table.setDirty(a, true);
    table.beginSend(a);
    table.acknowledge(a, static_cast<uint16_t>(table.getRegister(a)));
  }
  LinkState state;
  FixedClock clock;
  FrameReceiver receiver(table, state, clock);
  PacketAssembler assembler;
  Explanations why;
  // Kept between inputs: two tables' worth of records per input would cost
  // more than a short input's whole run.
  static Snapshot before, after;
  snapshot(table, before);

  // The table is compared after every piece of the first pass that
  // completes a good frame (a change must not come before its frame), after
  // every 64th piece and at the end of each pass. A comparison costs far
  // more than a piece; explanations only grow, so a later comparison still
  // catches any unexplained change.
  size_t pieces = 0;
  bool firstPass = true;
  const auto check = [&] {
    snapshot(table, after);
    checkChanges(before, after, why);
    before = after;
  };
  const auto deliver = [&](const uint8_t* bytes, size_t count) {
    const bool frameEnds = why.extend(bytes, count);
    receiver.receiveBytes(bytes, count);
    if (receiver.bufferedBytes() > kReceiveBufferLimit) {
      std::fprintf(stderr, "receive buffer holds %zu bytes\n", receiver.bufferedBytes());
      std::abort();
    }
    if ((frameEnds && firstPass) || ++pieces % 64 == 0) check();
  };

  for (size_t pass = 0; pass < repeats; ++pass) {
    for (size_t at = 0; at < length;) {
      const size_t piece = std::min<size_t>(length - at, throughPackets && fullReports ? kReportPayload : 1 + random() % kReportPayload);
      if (throughPackets) {
        const size_t frame = assembler.feed(stream + at, piece);
        if (frame > PacketAssembler::kBufferSize) std::abort();
        if (frame > 0) deliver(assembler.frame(), frame);
      } else {
        deliver(stream + at, piece);
      }
      at += piece;
    }
    check();
    firstPass = false;
  }
  return 0;
}
