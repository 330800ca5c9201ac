#include "hid/hidapi_device.h"

#include <hidapi.h>

#include <algorithm>
#include <chrono>

namespace zr78 {

namespace {

// The longest a close waits for a read in progress.
constexpr int kReadSliceMs = 20;

bool initHidapi() {
  static const bool ok = hid_init() == 0;
  return ok;
}

}  // namespace

bool HidapiDevice::open() {
  std::lock_guard<std::mutex> life(lifecycle_);
  closeLocked();
  if (!initHidapi()) return false;
  hid_device_info* devices = hid_enumerate(vendorId_, productId_);
  if (devices == nullptr) return false;
  // The first matching interface wins; nothing else is compared.
  hid_device* handle = hid_open_path(devices->path);
  hid_free_enumeration(devices);
  if (handle == nullptr) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  handle_ = handle;
  return true;
}

hid_device_* HidapiDevice::beginUse() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (handle_ == nullptr || closing_) return nullptr;
  ++users_;
  return handle_;
}

void HidapiDevice::endUse() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (--users_ == 0) idle_.notify_all();
}

int HidapiDevice::readReport(uint8_t* report, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    hid_device* handle = beginUse();
    if (handle == nullptr) return -1;
    const int slice = static_cast<int>(std::clamp<long long>(left, 0, kReadSliceMs));
    const int n = hid_read_timeout(handle, report + 1, kReportPayload, slice);
    endUse();
    if (n < 0) return -1;
    if (n > 0) {
      report[0] = 0;  // unnumbered reports: hidapi returned the payload only
      return n + 1;
    }
    if (left <= 0) return 0;
  }
}

int HidapiDevice::writeReport(const uint8_t* report) {
  hid_device* handle = beginUse();
  if (handle == nullptr) return -1;
  // Byte 0 is the report id (0); hidapi strips it for unnumbered reports and
  // counts it in the result.
  const int n = hid_write(handle, report, kReportSize);
  endUse();
  return n;
}

void HidapiDevice::close() {
  std::lock_guard<std::mutex> life(lifecycle_);
  closeLocked();
}

void HidapiDevice::closeLocked() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (handle_ == nullptr) return;
  closing_ = true;  // new calls fail from here on
  idle_.wait(lock, [&] { return users_ == 0; });
  hid_device* handle = handle_;
  handle_ = nullptr;
  closing_ = false;
  lock.unlock();
  hid_close(handle);
}

}  // namespace zr78
