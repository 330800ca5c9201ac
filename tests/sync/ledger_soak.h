// The ledger soak: a user makes random edits at random intervals — bursts on
// one register as a drag makes them, the same register on every channel as a
// link group copies it, values set back, edits during full reads, during an
// input-source change's re-read, during a save to file and during mode-name
// reads — while the virtual amplifier runs on the 1 ms-per-report link model
// with injected faults (lost, corrupted, delayed and duplicated reports, an
// unplug and replug every few thousand edits). A ledger records the last
// value the user set for each address. Once the link is quiet, every ledger
// address on the amplifier must hold the ledger's value, unless the tool told
// the user it gave that edit up.
//
// Used by the ledger test (seconds) and by bench_ledger_soak (100 000 edits).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "link/link_timing.h"
#include "sim/virtual_amplifier.h"

namespace zr78::test {

struct SoakOptions {
  int edits = 100000;                           // stop after this many edits
  std::chrono::milliseconds duration{0};        // or after this long (0: no limit)
  int unplugEvery = 3000;                       // edits between unplugs (0: never)
  std::chrono::milliseconds unplugPeriod{0};    // or this long since the last one (0: no limit)
  uint32_t seed = 11;
  sim::FaultConfig faults = defaultFaults();
  LinkTiming timing = LinkTiming::usb();
  std::chrono::milliseconds settleLimit{60000};  // for the link to become quiet at the end
  std::filesystem::path folder;                  // preset files of the saves (must exist)
  std::string channelLock;                       // the link's channel lock name

  // 5 % lost, 1 % corrupted, 1 % duplicated, replies 0..300 ms late.
  static sim::FaultConfig defaultFaults() {
    sim::FaultConfig f;
    f.lossRate = 0.05;
    f.corruptRate = 0.01;
    f.duplicateRate = 0.01;
    f.delayMs = 0;
    f.delayMaxMs = 300;
    f.seed = 7;
    return f;
  }
};

struct SoakResult {
  int edits = 0;
  int addresses = 0;          // distinct addresses in the ledger
  int lostEdits = 0;          // ledger addresses the amplifier does not hold, unreported
  int reportedFailures = 0;   // edits the tool reported as given up
  int unplugs = 0;
  int reconnects = 0;
  bool settled = false;       // nothing dirty and the worker synchronising at the end
  int dirtyAtEnd = 0;
  std::vector<std::string> lost;  // the first few lost edits, described
};

SoakResult runLedgerSoak(const SoakOptions& options);

}  // namespace zr78::test
