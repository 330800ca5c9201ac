#include "ctl/exit_codes.h"

#include <cstdio>

namespace zr78 {

namespace {

struct ExitCodeRow {
  ExitCode code;
  const char* meaning;
};

constexpr ExitCodeRow kExitCodeRows[] = {
    {ExitCode::Ok, "success"},
    {ExitCode::Failed, "the operation failed (the amplifier refused or did not confirm it, or its result was not kept)"},
    {ExitCode::Usage, "bad arguments"},
    {ExitCode::NoAmplifier, "no amplifier answered"},
    {ExitCode::CannotOpen, "a file cannot be opened or is not there"},
    {ExitCode::CannotCreate, "a file cannot be created"},
    {ExitCode::Damaged, "a preset file fails its checksum or is damaged"},
    {ExitCode::EmptyName, "the file name is empty"},
    {ExitCode::Timeout, "the amplifier answered but the operation did not end in time"},
    {ExitCode::MalformedJson, "the JSON does not describe a preset file"},
    {ExitCode::RefusedFilterText, "the filter text cannot be imported (each refused line is named)"},
};

}  // namespace

ExitCode exitCodeFor(FileResult result) {
  switch (result) {
    case FileResult::Ok: return ExitCode::Ok;
    case FileResult::EmptyName: return ExitCode::EmptyName;
    case FileResult::CannotOpen: return ExitCode::CannotOpen;
    case FileResult::CannotCreate: return ExitCode::CannotCreate;
    case FileResult::ChecksumMismatch: return ExitCode::Damaged;
  }
  return ExitCode::Failed;
}

std::string exitCodeHelp() {
  std::string text = "Exit codes:\n";
  for (const ExitCodeRow& row : kExitCodeRows) {
    char line[160];
    std::snprintf(line, sizeof line, " %2d  %s\n", static_cast<int>(row.code), row.meaning);
    text += line;
  }
  return text;
}

}  // namespace zr78
