// The JSON import of zr78ctl on arbitrary text: never a crash or an escaping
// exception; what it accepts is a whole preset (1678 values of 16 bits), and
// export then import of the written file gives the same header and values.
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string_view>

#include "ctl/preset_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zr78;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ImportedPreset imported = presetFromJson(text);
  if (!imported.ok) {
    if (imported.error.empty()) std::abort();
    return 0;
  }
  if (imported.registersGiven > kPresetRegisterCount) std::abort();
  for (const int32_t value : imported.values)
    if (value < 0 || value > 0xFFFF) std::abort();

  std::mt19937 random(static_cast<uint32_t>(size));
  DecodedPreset written;
  if (decodePreset(encodePreset(imported.header, imported.values, random), written) != FileResult::Ok) std::abort();
  const ImportedPreset again = presetFromJson(presetJsonText(written.header, written.values));
  if (!again.ok || !again.note.empty() || again.values != imported.values ||
      again.header.deviceId != imported.header.deviceId || again.header.passwordFlag != imported.header.passwordFlag ||
      again.header.reservedA != imported.header.reservedA || again.header.reservedB != imported.header.reservedB ||
      !(again.header.time == imported.header.time))
    std::abort();
  return 0;
}
