// Qt's own translations for the current UI language, so that the standard
// buttons of message boxes read 是/否/确定 (或 是/否/確定) in the Chinese
// languages. English needs none. UI thread only.
#pragma once

#include <QTranslator>

namespace zr78 {

class QtTranslations {
 public:
  QtTranslations() = default;
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  // Installs qtbase_zh_CN / qtbase_zh_TW for languages 0 / 1 and removes it
  // for English. False when the translation file is missing (the buttons
  // then stay English).
  bool use(int language);
  int language() const { return language_; }

 private:
  QTranslator translator_;
  bool installed_ = false;
  int language_ = -1;
};

}  // namespace zr78
