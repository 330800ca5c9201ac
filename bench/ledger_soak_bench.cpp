// The ledger soak as a long run: 100 000 random edits (or the number given)
// over the virtual amplifier on the 1 ms-per-report link model with 5 % of
// the reports lost, 1 % corrupted, 1 % of the replies duplicated, replies
// 0..300 ms late and an unplug every 3000 edits, on the USB timing profile.
// Prints
//   soak_edits N              edits made
//   soak_lost_edits L         ledger addresses the amplifier does not hold,
//                             without the user having been told (target 0)
//   soak_reported_failures F  edits the tool gave up and reported
//   soak_reconnects R
//
//   bench_ledger_soak [EDITS]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "sync/ledger_soak.h"

int main(int argc, char** argv) {
  zr78::test::SoakOptions options;
  if (argc > 1) options.edits = std::atoi(argv[1]);
  if (options.edits <= 0) {
    std::fprintf(stderr, "usage: bench_ledger_soak [EDITS]\n");
    return 2;
  }
  const std::string unique = "zr78-ledger-soak-" + std::to_string(::getpid());
  options.folder = std::filesystem::temp_directory_path() / unique;
  options.channelLock = unique;
  std::filesystem::create_directories(options.folder);
  const zr78::test::SoakResult r = zr78::test::runLedgerSoak(options);
  std::error_code error;
  std::filesystem::remove_all(options.folder, error);
  std::printf("soak_edits %d\n", r.edits);
  std::printf("soak_lost_edits %d\n", r.lostEdits);
  std::printf("soak_reported_failures %d\n", r.reportedFailures);
  std::printf("soak_reconnects %d\n", r.reconnects);
  for (const auto& line : r.lost) std::fprintf(stderr, "lost: %s\n", line.c_str());
  if (!r.settled) std::fprintf(stderr, "the link did not become quiet: %d records dirty\n", r.dirtyAtEnd);
  return r.lostEdits == 0 && r.settled ? 0 : 1;
}
