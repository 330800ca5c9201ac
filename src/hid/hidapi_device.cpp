#include "hid/hidapi_device.h"

#include <hidapi.h>

#include <algorithm>
#include <chrono>

namespace zr78 {

namespace {

// The longest a close waits for a read in progress.
constexpr int kReadSliceMs = 20;
// The longest a close waits for the calls in progress before it leaves the
// handle to them.
constexpr auto kCloseWait = std::chrono::milliseconds(100);

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

void HidapiDevice::endUse(hid_device* handle) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (auto it = retired_.begin(); it != retired_.end(); ++it) {
    if (it->handle != handle) continue;
    if (--it->users > 0) return;
    retired_.erase(it);
    lock.unlock();
    hid_close(handle);
    return;
  }
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
    endUse(handle);
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
  endUse(handle);
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
  hid_device* handle = handle_;
  if (!idle_.wait_for(lock, kCloseWait, [&] { return users_ == 0; })) {
    // A call the device holds up: it closes the handle when it returns.
    retired_.push_back({handle, users_});
    users_ = 0;
    handle_ = nullptr;
    closing_ = false;
    return;
  }
  handle_ = nullptr;
  closing_ = false;
  lock.unlock();
  hid_close(handle);
}

}  // namespace zr78
