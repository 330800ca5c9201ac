#include "link/link_state.h"

namespace zr78 {

std::string ModeName::toString() const {
  std::string out;
  for (const auto& u : units) {
    const uint16_t c = u.load();
    if (c == 0) break;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

void ModeName::assign(const std::string& latin1) {
  for (int i = 0; i < kModeNameUnits; ++i)
    units[i].store(i < static_cast<int>(latin1.size()) ? static_cast<uint8_t>(latin1[i]) : 0);
}

}  // namespace zr78
