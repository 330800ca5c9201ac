// The real amplifier through hidapi: the first HID interface with the
// amplifier's vendor and product id. The only file that includes hidapi.
//
// hidapi hands back the payload without the report id for a device that does
// not number its reports; this class presents the 65-byte form of
// hid_device.h (byte 0 = report id 0) in both directions.
//
// close() may run on any thread while the reader is inside readReport: reads
// wait in short slices, and close waits for the slice in progress to end
// before it calls hid_close, so the handle is never freed under a read. A
// write the device holds up may not end at all: close then waits only
// briefly and leaves the handle to the last call using it, which closes it
// on its way out, so that closing never hangs on the device.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "link/hid_device.h"

struct hid_device_;

namespace zr78 {

class HidapiDevice final : public HidDevice {
 public:
  explicit HidapiDevice(uint16_t vendorId = kVendorId, uint16_t productId = kProductId)
      : vendorId_(vendorId), productId_(productId) {}
  ~HidapiDevice() override { close(); }
  HidapiDevice(const HidapiDevice&) = delete;
  HidapiDevice& operator=(const HidapiDevice&) = delete;

  bool open() override;
  int readReport(uint8_t* report, int timeoutMs) override;
  int writeReport(const uint8_t* report) override;
  void close() override;

 private:
  // The open handle for one call, or nullptr when closed or closing.
  hid_device_* beginUse();
  void endUse(hid_device_* handle);
  void closeLocked();  // lifecycle_ held

  const uint16_t vendorId_;
  const uint16_t productId_;
  std::mutex lifecycle_;  // serialises open and close (held over hid_open/hid_close)
  std::mutex mutex_;      // guards handle_, users_, closing_; never held inside hidapi
  std::condition_variable idle_;
  hid_device_* handle_ = nullptr;
  int users_ = 0;  // calls inside hidapi with handle_
  bool closing_ = false;
  struct Retired {
    hid_device_* handle;
    int users;
  };
  std::vector<Retired> retired_;  // closed while still in use; the last user closes it
};

}  // namespace zr78
