// The link as the sync worker uses it over USB: the frame receiver, the HID
// transport with its reader thread, the frame sender and the connect
// procedure with the single-user lock on the USB channel.
//
// Threads: everything but closeDevice, readerAlive and receiver() is called
// by the sync worker (or, after it ended, by the owner); closeDevice may run
// on any thread (the UI's stopLink).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "link/connect_observer.h"
#include "link/frame_codec.h"
#include "link/hid_device.h"
#include "link/hid_transport.h"
#include "link/link_state.h"
#include "link/link_timing.h"
#include "registers/register_table.h"
#include "platform/clock.h"
#include "platform/named_lock.h"

namespace zr78 {

// The USB channel lock's name for a vendor and product id ("HID_VID_%0x_PID_%0x").
std::string usbChannelLockName(uint16_t vendorId = kVendorId, uint16_t productId = kProductId);

class UsbLink {
 public:
  UsbLink(HidDevice& device, RegisterTable& table, LinkState& state, const Clock& clock,
          const LinkTiming& timing);
  ~UsbLink();  // stops and joins the reader, releases the channel lock
  UsbLink(const UsbLink&) = delete;
  UsbLink& operator=(const UsbLink&) = delete;

  // At every connection attempt.
  void setTiming(const LinkTiming& timing);
  // The named lock connectUsb takes; usbChannelLockName() unless a test
  // needs a lock of its own.
  void setChannelLockName(const std::string& name) { lockName_ = name; }
  const std::string& channelLockName() const { return lockName_; }

  // Returns when connected, or when state.running is cleared. Reports each
  // attempt while running, and the blocked channel (retrying every
  // lockRetrySleep) while another process holds it.
  void connectUsb(ConnectObserver& observer);

  bool sendFrame(uint8_t command, const uint8_t* data, size_t count) {
    return sender_.sendFrame(command, data, count);
  }
  bool sendFrame(uint8_t command, std::initializer_list<uint8_t> data) {
    return sender_.sendFrame(command, data);
  }
  // The reply sequence of every request that expects an answer: sets
  // awaitingReply, runs `send` (the frame or frames, and whatever has to
  // happen before the wait), waits for the reply semaphore at most waitMs
  // while the reader is alive, clears awaitingReply. True when the semaphore
  // was taken.
  bool awaitReply(int waitMs, const std::function<void()>& send);
  // The same sequence, ending when `done` holds or after waitMs; returns
  // done(). `done` is looked at after the send and after every reply that
  // releases the semaphore, with the number of those replies so far.
  bool awaitReply(int waitMs, const std::function<void()>& send, const std::function<bool(int replies)>& done);
  // awaitReply for one frame.
  bool request(uint8_t command, std::initializer_list<uint8_t> data, int waitMs) {
    return request(command, data.begin(), data.size(), waitMs);
  }
  bool request(uint8_t command, const uint8_t* data, size_t count, int waitMs);
  // awaitReply for one frame, until `done` holds (the reply the caller waits
  // for has come) or waitMs has passed; returns done().
  bool request(uint8_t command, const uint8_t* data, size_t count, int waitMs,
               const std::function<bool()>& done);
  // Only the wait: ends early (within a few ms) when the reader dies; no wait
  // at all when it is not alive.
  bool waitReply(int waitMs);

  bool readerAlive() const { return reader_.alive(); }
  // Cancels pending I/O and closes; the reader then ends (or idles until
  // `running` is cleared).
  void closeDevice() { cmd_.io().closeDevice(); }
  FrameReceiver& receiver() { return receiver_; }

 private:
  // One pass of the channel lock and the open/probe loop; false: start over.
  bool lockChannel(ConnectObserver& observer);
  bool probeDevice();
  // Sleeps ms, ending early when `running` is cleared.
  void sleepWhileRunning(int ms) const;

  RegisterTable& table_;
  LinkState& state_;
  LinkTiming timing_;
  std::string lockName_ = usbChannelLockName();
  FrameReceiver receiver_;
  PacketWriter cmd_;
  FrameSender sender_;
  HidReader reader_;
  NamedLock channelLock_;
};

}  // namespace zr78
