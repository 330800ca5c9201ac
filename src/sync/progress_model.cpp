#include "sync/progress_model.h"

#include <algorithm>

#include "text/text_format.h"

namespace zr78 {

std::string ProgressModel::text(const std::string& format, int value, int range) {
  // A title without a placeholder ("Call...") is shown as it is.
  if (format.find('%') == std::string::npos) return format;
  return formatText(format, value * 100.0 / (range == 0 ? 1 : range));
}

int ProgressModel::barWidth(int value) const {
  const int width = static_cast<int>(static_cast<long long>(value) * kBarSpan / safeRange()) + kBarStub;
  return std::clamp(width, 0, kWidth);
}

}  // namespace zr78
