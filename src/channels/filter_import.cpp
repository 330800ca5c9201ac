#include "channels/filter_import.h"

#include "channels/gain_word.h"

namespace zr78 {

std::vector<RegisterWrite> filterImportWrites(const FilterMapping& mapping, const RegisterImage& current) {
  std::vector<RegisterWrite> writes = mapping.writes;
  if (mapping.preamp.outcome == PreampOutcome::ChannelGain) {
    const int address = channelGainRegister(mapping.channel);
    const bool phase180 = decodeGainWord(current[address]).phase180;
    writes.push_back({address, encodeGainWord(mapping.preamp.channelGainDb, phase180)});
  }
  return writes;
}

void applyFilterImport(const FilterMapping& mapping, RegisterImage& image) {
  for (const RegisterWrite& w : filterImportWrites(mapping, image)) image[w.address] = w.value;
}

}  // namespace zr78
