// UTF-8 texts of the core as Qt strings and back.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zr78 {

inline QString qtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string utf8Text(const QString& text) { return text.toStdString(); }

}  // namespace zr78
