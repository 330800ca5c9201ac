#include "app/quit_signals.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#endif

namespace zr78 {

#ifndef _WIN32
namespace {

// The pipe the handler writes to: set once before the handlers are installed,
// read only by the handler (an async-signal-safe write).
int signalPipe[2] = {-1, -1};

void onSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> quit) : quit_(std::move(quit)) {
  if (signalPipe[0] < 0 && ::pipe(signalPipe) != 0) return;
  ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
  notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
    if (quit_) quit_();
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

QuitSignals::~QuitSignals() {
  ::signal(SIGINT, SIG_DFL);
  ::signal(SIGTERM, SIG_DFL);
}
#else
QuitSignals::QuitSignals(std::function<void()> quit) : quit_(std::move(quit)) {}
QuitSignals::~QuitSignals() = default;
#endif

}  // namespace zr78
