// The preset reader on arbitrary bytes: never a crash or a read outside the
// input; a failed read leaves its output exactly as it was; whatever it
// accepts holds together (values sized by the header, 16-bit, and a standard
// file written from them reads back the same), and zr78ctl's import takes
// its export back with every register (the missing ones of a short image
// from the defaults).
#include <cstdint>
#include <cstdlib>

#include "ctl/preset_json.h"
#include "presets/preset_codec.h"
#include "registers/default_image.h"

namespace {

using namespace zr78;

// An output that no read produces, to see that a failed read leaves it alone.
DecodedPreset sentinel() {
  DecodedPreset out;
  out.header.registerCount = 0xDEADBEEF;
  out.header.headerSize = 0xFEEDFACE;
  out.header.deviceId = 0x12345678;
  out.header.passwordFlag = 0x5A;
  out.header.time.year = 0xFFFFFFFF;
  out.values.assign(7, -42);
  return out;
}

bool same(const DecodedPreset& a, const DecodedPreset& b) { return a.header == b.header && a.values == b.values; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  DecodedPreset out = sentinel();
  if (decodePreset(file, out) != FileResult::Ok) {
    if (!same(out, sentinel())) std::abort();
    return 0;
  }
  if (out.header.registerCount > 1678 || out.values.size() != out.header.registerCount + 20) std::abort();
  for (size_t i = 0; i < out.values.size(); ++i)
    if (out.values[i] < 0 || out.values[i] > 0xFFFF || (i >= out.header.registerCount && out.values[i] != 0))
      std::abort();
  // Reading again into a used output gives the same.
  DecodedPreset again = sentinel();
  if (decodePreset(file, again) != FileResult::Ok || !same(again, out)) std::abort();

  const ImportedPreset imported = presetFromJson(presetJsonText(out.header, out.values));
  if (!imported.ok || imported.registersGiven != out.header.registerCount) std::abort();
  for (size_t r = 0; r < kPresetRegisterCount; ++r)
    if (imported.values[r] != (r < out.header.registerCount ? out.values[r] : defaultRegisterImage()[r])) std::abort();
  if (imported.header.deviceId != out.header.deviceId || !(imported.header.time == out.header.time)) std::abort();

  if (out.header.registerCount == kPresetRegisterCount) {
    std::mt19937 random(static_cast<uint32_t>(size));
    const auto written = encodePreset(out.header, std::span<const int32_t, kPresetRegisterCount>(out.values.data(), 1678), random);
    DecodedPreset reread;
    if (decodePreset(written, reread) != FileResult::Ok || reread.values != out.values ||
        reread.header.deviceId != out.header.deviceId || !(reread.header.time == out.header.time) ||
        reread.header.passwordFlag != out.header.passwordFlag || reread.header.reservedA != out.header.reservedA ||
        reread.header.reservedB != out.header.reservedB)
      std::abort();
  }
  return 0;
}
