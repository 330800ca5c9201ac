// A filter text's mapping (eq/filter_mapping.h) as register writes onto its
// channel: the EQ words, and the channel gain word when the Preamp sets it.
#pragma once

#include <vector>

#include "eq/filter_mapping.h"
#include "registers/register_map.h"

namespace zr78 {

// The mapping's writes, then the channel's GainWord with the Preamp's gain
// and the channel's own phase, when the Preamp goes to the channel gain.
std::vector<RegisterWrite> filterImportWrites(const FilterMapping& mapping, const RegisterImage& current);

// The writes above applied to an image.
void applyFilterImport(const FilterMapping& mapping, RegisterImage& image);

}  // namespace zr78
