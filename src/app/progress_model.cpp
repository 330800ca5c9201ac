#include "app/progress_model.h"

#include <algorithm>

#include "text/text_format.h"

namespace zr78 {

std::string ProgressModel::text(int value) const {
  // A title without a placeholder ("Call...") is shown as it is.
  if (format_.find('%') == std::string::npos) return format_;
  return formatText(format_, value * 100.0 / safeRange());
}

int ProgressModel::barWidth(int value) const {
  const int width = static_cast<int>(static_cast<long long>(value) * kBarSpan / safeRange()) + kBarStub;
  return std::clamp(width, 0, kWidth);
}

}  // namespace zr78
