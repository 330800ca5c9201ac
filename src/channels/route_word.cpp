#include "channels/route_word.h"

#include <algorithm>

namespace zr78 {

std::optional<int> matrixRegister(int output, int input) {
  if (output < 0 || output >= kRouteOutputs || input < 0 || input >= kRouteInputs)
    return std::nullopt;
  return routeRegister(output, input);
}

int32_t encodeRouteWord(int level, bool on) {
  return (std::clamp(level, 0, kMaxRouteLevel) << 8) | (on ? 1 : 0);
}

RouteCell decodeRouteWord(int32_t word) { return {(word >> 8) & 0xFF, (word & 0xFF) != 0}; }

bool routingAvailable(int32_t configurationWord, int32_t inputSourceWord) {
  const int32_t configuration = configurationWord & 0x0F;
  return (configuration == 3 || configuration == 4) &&
         (inputSourceWord == 3 || inputSourceWord == 4);
}

}  // namespace zr78
