// The preset reader on arbitrary bytes: never a crash or a read outside the
// input, and whatever it accepts holds together (values sized by the header,
// 16-bit, and a standard file written from them reads back the same).
#include <cstdint>
#include <cstdlib>

#include "presets/preset_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zr78;
  DecodedPreset out;
  if (decodePreset(std::span<const uint8_t>(data, size), out) != FileResult::Ok) return 0;
  if (out.header.registerCount > 1678 || out.values.size() != out.header.registerCount + 20) std::abort();
  for (const int32_t value : out.values)
    if (value < 0 || value > 0xFFFF) std::abort();

  if (out.header.registerCount == kPresetRegisterCount) {
    std::mt19937 random(static_cast<uint32_t>(size));
    const auto file = encodePreset(out.header, std::span<const int32_t, kPresetRegisterCount>(out.values.data(), 1678), random);
    DecodedPreset again;
    if (decodePreset(file, again) != FileResult::Ok || again.values != out.values ||
        again.header.deviceId != out.header.deviceId || !(again.header.time == out.header.time))
      std::abort();
  }
  return 0;
}
