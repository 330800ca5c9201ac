// A register table, link state and receiver, fresh for each test case.
#pragma once

#include "link/frame_codec.h"
#include "link/frame_helpers.h"
#include "link/manual_clock.h"

namespace zr78::test {

struct ReceiverRig {
  ReceiverRig() { table.initRegisters(); }
  void feed(const Bytes& piece) { receiver.receiveBytes(piece.data(), piece.size()); }
  void receive(uint8_t command, const Bytes& data) { feed(frameOf(command, data)); }

  RegisterTable table;
  LinkState state;
  ManualClock clock{777};
  FrameReceiver receiver{table, state, clock};
};

}  // namespace zr78::test
