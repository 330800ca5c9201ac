// One running copy of the program: the named lock "ZR-78" (the OS drops it
// when the process dies) and a local server of the same name through which
// a second start asks the first to bring its window forward.
//
// Tests use names of their own so that they run in parallel.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "platform/named_lock.h"

class QLocalServer;

namespace zr78 {

inline constexpr const char* kInstanceName = "ZR-78";

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(std::string name = kInstanceName);
  ~SingleInstance() override;

  // Takes the lock; when it is held already, asks the holder to come
  // forward and returns false.
  bool claim();
  bool first() const { return lock_.held(); }

  // The first instance runs this when a second start asks it to come forward.
  void setOnRaise(std::function<void()> raise) { onRaise_ = std::move(raise); }
  // Requests received from later starts.
  int raiseRequests() const { return raiseRequests_; }

  // The local server's name for an instance name (per user where the
  // platform's sockets are shared).
  static QString serverName(const std::string& name);

 private:
  void listen();
  void askFirstToRaise() const;
  void onConnection();

  std::string name_;
  NamedLock lock_;
  QLocalServer* server_ = nullptr;
  std::function<void()> onRaise_;
  int raiseRequests_ = 0;
};

}  // namespace zr78
