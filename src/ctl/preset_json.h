// A preset file as JSON, both ways: what `zr78ctl preset export` prints and
// what `import` accepts. import accepts whatever export prints for any file
// the reader takes:
//   - registerCount, when given, must equal the number of "registers";
//   - headerSize and formatOne are informational: a written file always has
//     the writer's own (512, 1);
//   - fewer than 1678 registers (a file of another writer holds fewer) fill
//     the rest from the register defaults, as show and response read such a
//     file; the fill is named in a note. More than 1678 are refused.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "presets/preset_codec.h"

namespace zr78 {

// The JSON text of a read file: header fields, time and "registers" (the
// first header.registerCount values), indented by two.
std::string presetJsonText(const PresetHeader& header, const std::vector<int32_t>& values);

struct ImportedPreset {
  bool ok = false;
  std::string error;  // when not ok: what is wrong, for one line on stderr
  std::string note;   // when ok: what was filled in, or empty
  PresetHeader header;  // the base, with the fields the JSON gives
  std::array<int32_t, kPresetRegisterCount> values{};
  size_t registersGiven = 0;
};

// Reads the JSON text of a preset over `base` (deviceId is required;
// passwordFlag, reservedA, reservedB and the time fields are taken when
// given); never throws.
ImportedPreset presetFromJson(std::string_view text, const PresetHeader& base = {});

}  // namespace zr78
