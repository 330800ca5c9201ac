// What connectUsb reports to whoever shows the link's state (the sync worker's
// LinkEvents). Both calls come from the connecting thread.
#pragma once

#include <string>

namespace zr78 {

class ConnectObserver {
 public:
  virtual ~ConnectObserver() = default;
  // A connection attempt begins.
  virtual void connecting() = 0;
  // Another program holds the USB channel; returns once the user has seen
  // `message` (the lock name followed by " Channel is Blocked!").
  virtual void channelBlocked(const std::string& message) = 0;
};

}  // namespace zr78
