// Ctrl+C or a termination request ends the program the way the confirmed
// close does (link stopped, the virtual amplifier's memory kept) instead of
// killing it mid-way. POSIX signals reach the event loop through a pipe;
// elsewhere this does nothing.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zr78 {

class QuitSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the SIGINT and SIGTERM handlers; `quit` runs on the UI thread.
  explicit QuitSignals(std::function<void()> quit);
  ~QuitSignals() override;

 private:
  std::function<void()> quit_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zr78
