// Link latency over the virtual amplifier with a USB full-speed link model
// (one 64-byte report per millisecond in each direction) and the USB timing
// profile:
//   connect_to_ready  from the start of the connection attempt to "connected"
//                     plus every register shown (the display refresh done)
//   edit_to_echo_*    from setRegister to the record's dirty mark cleared by
//                     the amplifier's echo, over 1000 edits
//   edit_to_echo_p95_during_reread
//                     the same for edits made while an input-source change
//                     has the routing matrix read again
//   edit_to_echo_p95_lossy
//                     the same with 5 % of the reports lost
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
  // echo, spread over registers of the EQ blocks. `before` runs before each
  // edit.
  auto measure = [&](int edits, auto before) {
    std::vector<double> latencies;
    latencies.reserve(static_cast<size_t>(edits));
    for (int i = 0; i < edits; ++i) {
      const int address =
          zr78::bandRegister(i % zr78::kChannelCount, i % zr78::kBandCount, zr78::kBandGainOffset);
      const int32_t value = 300 + (i % 400);
      before(i);
      const auto start = Clock::now();
      session.table.setRegister(address, value);
      while (session.table.dirty(address)) std::this_thread::yield();
      latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      // Let the loop fall back into its idle pacing now and then, as between
      // a user's movements.
      if (i % 50 == 49) std::this_thread::sleep_for(std::chrono::milliseconds(120));
    }
    std::sort(latencies.begin(), latencies.end());
    return latencies;
  };
  auto at = [](const std::vector<double>& sorted, double q) {
    return sorted[static_cast<size_t>(q * (sorted.size() - 1))];
  };

  const auto plain = measure(1000, [](int) {});
  std::printf("edit_to_echo_p50 %.2f ms\n", at(plain, 0.50));
  std::printf("edit_to_echo_p95 %.2f ms\n", at(plain, 0.95));
  std::printf("edit_to_echo_max %.2f ms\n", plain.back());

  // An input change asks for the 64 routing registers again; the edit comes
  // once the re-read has begun and before it has ended.
  const auto duringReread = measure(300, [&](int) {
    session.table.requestReread(zr78::kFirstRouteRegister, zr78::kLastRouteRegister);
    const auto limit = Clock::now() + std::chrono::milliseconds(500);
    while (session.table.rereadRequested(zr78::kFirstRouteRegister) && Clock::now() < limit)
      std::this_thread::yield();
  });
  std::printf("edit_to_echo_p95_during_reread %.2f ms\n", at(duringReread, 0.95));

  zr78::sim::FaultConfig lossy;
  lossy.lossRate = 0.05;
  lossy.seed = 7;
  amp.setFaults(lossy);
  const auto lost = measure(1000, [](int) {});
  std::printf("edit_to_echo_p95_lossy %.2f ms\n", at(lost, 0.95));
  amp.setFaults({});
  session.worker.stopLink();
  return 0;
}
