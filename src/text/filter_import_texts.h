// The texts of a filter-text import and export in the window: the preview
// dialog (its report, legend and buttons) and the messages of a refused
// text, a file that cannot be read and an export that cannot be written.
// "%1", "%2" ... are filled in by the window, in order, each once.
#pragma once

#include "text/window_texts.h"

namespace zr78 {

enum class FilterImportText : int {
  kPreviewTitle,   // %1 the channel number (CH1 = 1)
  kSource,         // %1 the file's name, %2 the channel number
  kColumnLine,
  kColumnFilter,
  kColumnAsked,
  kColumnDone,
  kBandDone,       // %1 band number, %2 frequency, %3 gain, %4 Q, %5 the panel's Q
  kHighPassDone,   // %1 frequency
  kLowPassDone,    // %1 frequency
  kDisabledDone,
  kFrequencyHeld,  // %1 the range
  kGainHeld,
  kQHeld,          // %1 the range
  kPreampGain,     // %1 the channel gain in dB
  kPreampHeld,
  kPreampIgnored,
  kUnused,
  kUnusedBands,    // %1 the bands ("11..31")
  kUnusedDone,
  kHighPass,
  kLowPass,
  kNotInText,
  kKept,
  kRounding,
  kDeviation,      // %1 max_deviation_db, %2 where
  kLegendWritten,
  kLegendAmplifier,
  kApply,
  kCancel,
  kRefused,
  kErrorLine,      // %1 line, %2 reason
  kMoreErrors,     // %1 how many
  kCannotOpen,     // %1 the file
  kNotRegularFile,  // %1 the file
  kTooLarge,       // %1 the file
  kExportFailed,   // %1 the file
  kCount,
};

template <>
std::span<const TextEntry> windowTable<FilterImportText>();

}  // namespace zr78
