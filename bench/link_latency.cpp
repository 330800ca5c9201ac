// Link latency over the virtual amplifier with a USB full-speed link model
// (one 64-byte report per millisecond in each direction) and the USB timing
// profile:
//   connect_to_ready  from the start of the connection attempt to "connected"
//                     plus every register shown (the display refresh done)
//   edit_to_echo_*    from setRegister to the record's dirty mark cleared by
//                     the amplifier's echo, over 1000 edits
// One line per figure: `name value unit`.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "registers/register_map.h"
#include "sync/link_session.h"
#include "sim/virtual_amplifier.h"
#include "text/language.h"

namespace {

using Clock = std::chrono::steady_clock;

// Records the moments the benchmark needs; everything else is dropped.
class TimingEvents final : public zr78::LinkEvents {
 public:
  void postNotify(int code, int) override {
    if (code == zr78::kNotifyShowDone) showDone.store(Clock::now().time_since_epoch().count());
  }
  void sendNotify(int code, int value) override {
    if (code != zr78::kNotifyLinkStatus) return;
    const auto status = static_cast<zr78::LinkStatus>(value);
    if (status == zr78::LinkStatus::Connecting && connecting.load() == 0)
      connecting.store(Clock::now().time_since_epoch().count());
    if (status == zr78::LinkStatus::Connected) connected.store(Clock::now().time_since_epoch().count());
  }
  zr78::MessageResult messageBox(const std::string&, const std::string&, zr78::MessageButtons) override {
    return zr78::MessageResult::Ok;
  }
  void progressSetRange(int) override {}
  void progressSetFormat(const std::string&) override {}
  void progressSetValue(int) override {}
  void progressShow() override {}
  void progressHide() override {}
  void setTitle(const std::string&) override {}

  std::atomic<Clock::rep> connecting{0}, connected{0}, showDone{0};
};

double ms(Clock::rep from, Clock::rep to) {
  return std::chrono::duration<double, std::milli>(Clock::duration(to - from)).count();
}

}  // namespace

int main() {
  zr78::sim::SimConfig config;
  config.reportIntervalUs = 1000;
  zr78::sim::VirtualAmplifier amp(config);
  TimingEvents events;
  zr78::LanguageIndex language(zr78::Language::kEnglish);
  zr78::Folders folders = zr78::Folders::forRunningProgram();
  zr78::LinkSession session(amp.hidDevice(), events, zr78::LinkTiming::usb(), folders, language);
  session.worker.startLink();

  while (!session.worker.synchronising()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::printf("connect_to_ready %.2f s\n", ms(events.connecting.load(), events.showDone.load()) / 1000.0);
  std::printf("connect_to_connected %.3f s\n", ms(events.connecting.load(), events.connected.load()) / 1000.0);

  // Edits arrive as a user's drag would: one at a time, each waiting for its
  // echo, spread over registers of the EQ blocks.
  std::vector<double> latencies;
  latencies.reserve(1000);
  for (int i = 0; i < 1000; ++i) {
    const int address =
        zr78::bandRegister(i % zr78::kChannelCount, i % zr78::kBandCount, zr78::kBandGainOffset);
    const int32_t value = 300 + (i % 400);
    const auto start = Clock::now();
    session.table.setRegister(address, value);
    while (session.table.dirty(address)) std::this_thread::yield();
    latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    // Let the loop fall back into its idle pacing now and then, as between
    // a user's movements.
    if (i % 50 == 49) std::this_thread::sleep_for(std::chrono::milliseconds(120));
  }
  std::sort(latencies.begin(), latencies.end());
  auto at = [&](double q) { return latencies[static_cast<size_t>(q * (latencies.size() - 1))]; };
  std::printf("edit_to_echo_p50 %.2f ms\n", at(0.50));
  std::printf("edit_to_echo_p95 %.2f ms\n", at(0.95));
  std::printf("edit_to_echo_max %.2f ms\n", latencies.back());
  session.worker.stopLink();
  return 0;
}
