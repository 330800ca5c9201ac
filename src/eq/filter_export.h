// One channel's bands and crossovers as a filter text, so that a tuning can
// be auditioned on a PC equaliser or shared.
//
// Every band whose gain is not 0 dB becomes "ON PK Fc ... Hz Gain ... dB
// Q ...", in band order (the Q is the band's quality factor, the panel's Q
// divided by Q_SCALE); then the high-pass and the low-pass when they are
// 12 dB/Oct Butterworth and active ("ON HP Fc ... Hz"). Other crossovers
// cannot be said in the format: a comment line names each. A channel with
// none of these gets "ON None", which an import reads as flat. Importing the
// text onto the same channel gives the same registers (a crossover the text
// does not name is kept) for every channel whose bands lie as an import
// leaves them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "eq/filter_mapping.h"
#include "eq/filter_text.h"
#include "registers/register_map.h"

namespace zr78 {

struct ExportedFilter {
  int number = 0;  // its "Filter N"
  FilterPlacement from = FilterPlacement::Band;  // Band, HighPass or LowPass
  int band = -1;   // 0..30 for a band
};

struct ChannelFilterExport {
  FilterText text;
  std::vector<ExportedFilter> filters;  // one per band or crossover written
  std::vector<std::string> unwritten;   // the crossovers the format cannot say
  CurveDeviation deviation;             // the text's curve against the channel's
};

// Empty for a channel above 7.
std::optional<ChannelFilterExport> exportChannelFilters(const RegisterImage& registers, int channel);

// "Filter 1   band 5" per line, the crossovers not written, and
// "max_deviation_db X" last.
std::string filterExportReport(const ChannelFilterExport& exported);

}  // namespace zr78
