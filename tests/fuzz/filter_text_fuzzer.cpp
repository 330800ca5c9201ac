// The filter-text reader on arbitrary bytes: never a crash or a read outside
// the input; a text it accepts lays onto a channel within that channel's
// registers, with 16-bit words and a finite deviation.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "eq/filter_mapping.h"
#include "registers/default_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zr78;
  const FilterTextParse parse = parseFilterText(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const FilterTextError& e : parse.errors)
    if (e.reason.empty() || e.line < 0) std::abort();
  if (!parse.ok()) return 0;
  (void)writeFilterText(parse.text);
  const int channel = static_cast<int>(size % kChannelCount);
  const std::optional<FilterMapping> mapping = mapFilters(parse.text, defaultRegisterImage(), channel);
  if (!mapping) std::abort();  // the reader accepted it
  for (const RegisterWrite& w : mapping->writes)
    if (w.address < channelBlockRegister(channel, 0) || w.address >= channelBlockRegister(channel + 1, 0) ||
        w.value < 0 || w.value > 0xFFFF)
      std::abort();
  if (!std::isfinite(mapping->deviation.maxDb) || mapping->deviation.maxDb < 0) std::abort();
  (void)filterMappingReport(*mapping);
  return 0;
}
