// Qt's own translations for the current UI language, so that the standard
// buttons of message boxes read 是/否/确定 (或 是/否/確定) in the Chinese
// languages. English needs none. UI thread only.
#pragma once

#include <QTranslator>

#include <optional>

#include "text/language.h"

namespace zr78 {

class QtTranslations {
 public:
  QtTranslations() = default;
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  // Installs qtbase_zh_CN / qtbase_zh_TW for the Chinese languages and
  // removes it for English. False when the translation file is missing (the
  // buttons then stay English).
  bool use(Language language);
  // Nothing before the first use.
  std::optional<Language> language() const { return language_; }

 private:
  QTranslator translator_;
  bool installed_ = false;
  std::optional<Language> language_;
};

}  // namespace zr78
