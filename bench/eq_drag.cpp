// Dragging a band handle of the EQ panel's graph, offscreen, in the whole
// program on the virtual amplifier:
//   eq_drag_frame_p50_1x / _p95_1x / _p95_2x
//       one mouse move of band 16's handle to the finished repaint of the
//       main window (1278 × 718 and 2556 × 1436), all eight curves shown,
//       every channel tuned
//   eq_drag_to_amplifier_p50 / _p95
//       one move to the amplifier holding the new gain, on the USB timing and
//       a link model of one 64-byte report per millisecond each way
// The frame figures are the median over five rounds of each round's
// percentile, so that a burst of load on a shared machine moves one round,
// not the figure; the _cpu_ figures are the UI thread's own processor time
// for the same frames, which other processes on the machine do not stretch.
// One line per figure: `name value unit`.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/application.h"
#include "app/eq_panel.h"
#include "app/main_window.h"
#include "app/response_graph.h"
#include "controls/image_button.h"
#include "eq/eq_model.h"
#include "registers/register_table.h"
#include "sim/virtual_amplifier.h"
#include "sync/link_session.h"
#include "text/language.h"

namespace {

using namespace zr78;
using Clock = std::chrono::steady_clock;

constexpr int kBand = 15;  // band 16, 630 Hz
constexpr int kRounds = 5;
constexpr int kFramesPerRound = 200;
constexpr int kAmplifierMoves = 300;

// A folder tree of the run's own, removed at the end.
class Scratch {
 public:
  Scratch() {
    std::random_device r;
    path_ = std::filesystem::temp_directory_path() / ("zr78-bench-" + std::to_string(r()));
    std::filesystem::create_directories(path_ / "FileData");
  }
  ~Scratch() {
    std::error_code e;
    std::filesystem::remove_all(path_, e);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Frames {
  std::vector<double> wall, cpu;
};

double percentile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(q * (v.size() - 1))];
}

bool waitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeoutMs) return false;
    QTest::qWait(2);
  }
  return true;
}

std::unique_ptr<Application> startProgram(const Scratch& scratch, const std::string& name, bool usbTiming) {
  AppOptions o;
  o.simulate = true;
  o.statePath = (scratch.path() / (name + ".state")).string();
  o.instanceName = "zr78-bench-" + name + "-" + std::to_string(::getpid());
  o.channelLockName = "zr78-bench-usb-" + name + "-" + std::to_string(::getpid());
  o.fastLink = !usbTiming;
  o.localeId = kLocaleUnitedStates;
  Folders f;
  f.program = scratch.path();
  f.fallback = scratch.path();
  f.working = scratch.path();
  f.baseName = "zr78";
  o.folders = f;
  auto app = std::make_unique<Application>(o);
  if (app->start().has_value()) return nullptr;
  const bool connected = waitFor([&] {
    return app->session()->worker.synchronising() && app->window()->displayRefreshes() > 0 &&
           app->window()->topButton(kButtonStatus)->state() == ButtonState::kPressed;
  });
  return connected ? std::move(app) : nullptr;
}

// Every channel tuned: crossovers and all 31 bands moved, so each curve has
// a point in nearly every column.
void tune(Application& app) {
  RegisterTable& table = app.session()->table;
  using namespace EqParamIndex;
  for (int c = 0; c < kChannelCount; ++c) {
    const auto set = [&](int p, int32_t w) { table.setRegister(*eqRegisterAddress(c, p), w); };
    set(kHighPassCode, 24);
    set(kHighPassFrequency, encodeFrequency(40 + 10 * c));
    set(kLowPassCode, 27);
    set(kLowPassFrequency, encodeFrequency(8000 + 1000 * c));
    for (int b = 0; b < kBandCount; ++b) {
      set(kBandGain + b, encodeGain(std::round(40 * std::sin((b + c) / 3.0)) / 10));
      set(kBandQ + b, encodeQ(2.4 + (b % 5)));
    }
  }
  app.window()->eqPanel()->reload(0);
  ResponseGraph* graph = app.window()->eqPanel()->graph();
  for (int c = 1; c < kChannelCount; ++c) graph->setChannelVisible(c, true);
  QApplication::processEvents();
}

QPoint handleOf(const ResponseGraph& graph, int point) {
  const GraphLayout& l = graph.model().layout();
  return QPoint(l.handleCentreX(graph.model().handle(point).x), l.handleCentreY(graph.model().handle(point).y));
}

// The y of the n-th move: up and down across ±12 dB.
int moveY(const ResponseGraph& graph, int n) {
  const GraphLayout& l = graph.model().layout();
  const int amplitude = -l.yOf(12);
  const int phase = n % (4 * amplitude);
  const int offset = phase < 2 * amplitude ? phase - amplitude : 3 * amplitude - phase;
  return l.handleCentreY(offset);
}

Frames dragFrames(Application& app, QSize size, int frameCount) {
  MainWindow& window = *app.window();
  window.resize(size);
  QApplication::processEvents();
  ResponseGraph& graph = *window.eqPanel()->graph();
  window.repaint();
  const QPoint start = handleOf(graph, kFirstBandPoint + kBand);
  QTest::mousePress(&graph, Qt::LeftButton, Qt::NoModifier, start);
  QApplication::processEvents();
  Frames frames;
  int lastY = start.y();
  for (int n = 0; static_cast<int>(frames.wall.size()) < frameCount; ++n) {
    const int y = moveY(graph, n);
    if (y == lastY) continue;
    lastY = y;
    const int before = graph.paintCount();
    const auto t0 = Clock::now();
    const double cpu0 = threadCpuMs();
    QTest::mouseMove(&graph, QPoint(start.x(), y));
    QElapsedTimer waited;
    waited.start();
    while (graph.paintCount() == before && waited.elapsed() < 1000) QApplication::processEvents();
    QApplication::processEvents();  // whatever the move posted besides
    frames.wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    frames.cpu.push_back(threadCpuMs() - cpu0);
  }
  QTest::mouseRelease(&graph, Qt::LeftButton, Qt::NoModifier, QPoint(start.x(), lastY));
  QApplication::processEvents();
  return frames;
}

std::vector<double> dragToAmplifier(Application& app) {
  sim::VirtualAmplifier& amp = *app.amplifier();
  sim::SimConfig config = amp.config();
  config.reportIntervalUs = 1000;
  amp.setConfig(config);
  ResponseGraph& graph = *app.window()->eqPanel()->graph();
  const int address = *eqRegisterAddress(0, EqParamIndex::kBandGain + kBand);
  const RegisterTable& table = app.session()->table;
  const QPoint start = handleOf(graph, kFirstBandPoint + kBand);
  QTest::mousePress(&graph, Qt::LeftButton, Qt::NoModifier, start);
  std::vector<double> latencies;
  for (int n = 0; latencies.size() < kAmplifierMoves; ++n) {
    const int y = moveY(graph, n * 3);
    const int32_t before = table.getRegister(address);
    const auto t0 = Clock::now();
    QTest::mouseMove(&graph, QPoint(start.x(), y));
    const int32_t word = table.getRegister(address);
    if (word == before) continue;
    while (amp.reg(address) != word) std::this_thread::yield();
    latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    // A hand moves on after a while; the window catches up meanwhile.
    QTest::qWait(15);
  }
  QTest::mouseRelease(&graph, Qt::LeftButton, Qt::NoModifier, start);
  return latencies;
}

void print(const char* name, double value) { std::printf("%s %.2f ms\n", name, value); }

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  Scratch scratch;
  {
    auto app = startProgram(scratch, "frames", false);
    if (!app) {
      std::fprintf(stderr, "bench_eq_drag: the program did not connect\n");
      return 1;
    }
    tune(*app);
    for (const auto& [size, suffix] : {std::pair{QSize(1278, 718), "1x"}, std::pair{QSize(2556, 1436), "2x"}}) {
      std::vector<double> p50, p95, cpu50, cpu95;
      for (int r = 0; r < kRounds; ++r) {
        const Frames frames = dragFrames(*app, size, kFramesPerRound);
        p50.push_back(percentile(frames.wall, 0.50));
        p95.push_back(percentile(frames.wall, 0.95));
        cpu50.push_back(percentile(frames.cpu, 0.50));
        cpu95.push_back(percentile(frames.cpu, 0.95));
      }
      const std::string s = suffix;
      print(("eq_drag_frame_p50_" + s).c_str(), percentile(p50, 0.5));
      print(("eq_drag_frame_p95_" + s).c_str(), percentile(p95, 0.5));
      print(("eq_drag_frame_cpu_p50_" + s).c_str(), percentile(cpu50, 0.5));
      print(("eq_drag_frame_cpu_p95_" + s).c_str(), percentile(cpu95, 0.5));
    }
    app->window()->shutdown();
  }
  {
    auto app = startProgram(scratch, "amplifier", true);
    if (!app) {
      std::fprintf(stderr, "bench_eq_drag: the program did not connect\n");
      return 1;
    }
    tune(*app);
    const std::vector<double> latencies = dragToAmplifier(*app);
    print("eq_drag_to_amplifier_p50", percentile(latencies, 0.50));
    print("eq_drag_to_amplifier_p95", percentile(latencies, 0.95));
    app->window()->shutdown();
  }
  return 0;
}
