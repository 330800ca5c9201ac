// Small text tables private to one window or to the connection worker. Each
// table is an enum of its entries and a table of three-language texts, read
// with windowText(entry, language).
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "text/text_entry.h"

namespace zr78 {

// Tabs of the system settings window.
enum class SystemWindowText : int { kSystem, kLocal, kCount };

// The "System" page beside the mode captions of the shared table.
enum class SystemPageText : int { kNoiseGate, kCount };

// The "Local" page: the file-open dialog's filter ("|"-separated pairs).
enum class PresetPageText : int { kFileFilter, kCount };

// Row and column labels of the routing window; each takes one "%d".
enum class RoutingText : int { kHigh, kLow, kOutChannel, kCount };

// The channel strip's input labels and its input-change message.
enum class ChannelStripText : int { kHiLevel, kLow, kOutChannel, kInputSelectionChanged, kCount };

// Messages and progress titles of the connection worker.
enum class WorkerText : int {
  kUnableToReadEncryptedMode,
  kEnterFileName,
  kUpdateSceneData,
  kUpdateDisplayData,
  kSaveSuccessfully,
  kWriteDataFailed,
  kReadDataFailed,
  kSaveFailed,
  kInvocationFailed,
  kNoFiles,
  kDataHasPassword,
  kWrongFileVersion,
  kReadDeviceData,
  kCall,  // the progress title is this text followed by "..."
  kCount,
};

// The main window's about text: the version prefix (ends with a blank) and
// the caption.
enum class MainWindowText : int { kSoftwareVersion, kAboutCaption, kCount };

// The link editor's caption and the hint above its circles.
enum class LinkEditorText : int { kTitle, kHint, kCount };

// The whole table of one window; defined for each enum above.
template <typename Id>
std::span<const TextEntry> windowTable();

template <>
std::span<const TextEntry> windowTable<SystemWindowText>();
template <>
std::span<const TextEntry> windowTable<SystemPageText>();
template <>
std::span<const TextEntry> windowTable<PresetPageText>();
template <>
std::span<const TextEntry> windowTable<RoutingText>();
template <>
std::span<const TextEntry> windowTable<ChannelStripText>();
template <>
std::span<const TextEntry> windowTable<WorkerText>();
template <>
std::span<const TextEntry> windowTable<MainWindowText>();
template <>
std::span<const TextEntry> windowTable<LinkEditorText>();

// A window table from its rows: every enum value has its row, in order (a
// missing or misplaced row fails the build). The tables here and in the
// other window text files are made with it.
template <typename Id, size_t N>
constexpr std::array<TextEntry, N> windowRows(const NumberedEntry<Id> (&rows)[N]) {
  static_assert(N == static_cast<size_t>(Id::kCount), "one row per entry of the enum");
  return orderedTable(rows);
}

// The entry's text in `language`; an empty view for an entry out of range.
template <typename Id>
std::string_view windowText(Id entry, Language language) {
  return textIn(windowTable<Id>(), static_cast<int>(entry), language);
}

}  // namespace zr78
