// The promise of the tool: what the user set is what the amplifier holds, or
// the user is told. Seconds of random edits over a faulty link (the long run
// is bench_ledger_soak).
#include "sync/ledger_soak.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "temp_dir.h"

namespace zr78::test {
namespace {

using namespace std::chrono_literals;

TEST(LedgerSoakTest, EveryEditReachesTheAmplifierOrIsReported) {
  TempDir dir("zr78-soak-");
  SoakOptions options;
  options.edits = 1 << 30;
  options.duration = 3s;
  options.unplugEvery = 2000;
  options.unplugPeriod = 1000ms;
  // The USB profile: its waits are made for replies up to 300 ms late
  // (the fast profile's are not).
  options.timing = LinkTiming::usb();
  options.folder = dir.path();
  options.channelLock = "zr78-test-ledger-" + std::to_string(::getpid());
  const SoakResult r = runLedgerSoak(options);
  std::string lost;
  for (const auto& line : r.lost) lost += "\n  " + line;
  EXPECT_TRUE(r.settled) << r.dirtyAtEnd << " records still dirty";
  EXPECT_EQ(r.lostEdits, 0) << "of " << r.addresses << " addresses, " << r.edits << " edits:" << lost;
  EXPECT_GE(r.reconnects, r.unplugs) << "each unplug reconnects";
  EXPECT_GE(r.unplugs, 1);
  EXPECT_GT(r.edits, 1000);
  RecordProperty("edits", r.edits);
  RecordProperty("addresses", r.addresses);
  RecordProperty("reported_failures", r.reportedFailures);
}

}  // namespace
}  // namespace zr78::test
