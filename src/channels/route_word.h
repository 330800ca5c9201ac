// The routing matrix: register 1614 + 8 × output + input for output column
// 0..7 and input row 0..7; each holds RouteWord = (level << 8) | on, level
// 0..100 in the high byte, the switch in bit 0.
#pragma once

#include <cstdint>
#include <optional>

#include "registers/register_map.h"

namespace zr78 {

constexpr int kMaxRouteLevel = 100;

struct RouteCell {
  int level = 0;
  bool on = false;
  bool operator==(const RouteCell&) const = default;
};

std::optional<int> matrixRegister(int output, int input);
// Level clamped to 0..100.
int32_t encodeRouteWord(int level, bool on);
// level = high byte; on when the low byte is non-zero.
RouteCell decodeRouteWord(int32_t word);

// The routing window opens only when the configuration word's low nibble
// (register 1248) is 3 or 4 and the input source (register 1234) is 3 or 4.
bool routingAvailable(int32_t configurationWord, int32_t inputSourceWord);

}  // namespace zr78
