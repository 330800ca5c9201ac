#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace zr78 {

QtTranslations::~QtTranslations() {
  if (installed_) QCoreApplication::removeTranslator(&translator_);
}

bool QtTranslations::use(Language language) {
  if (language == language_) return true;
  if (installed_) QCoreApplication::removeTranslator(&translator_);
  installed_ = false;
  language_ = language;
  const char* file = language == Language::kSimplifiedChinese    ? "qtbase_zh_CN"
                     : language == Language::kTraditionalChinese ? "qtbase_zh_TW"
                                                                 : nullptr;
  if (file == nullptr) return true;
  if (!translator_.load(QString::fromLatin1(file),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  installed_ = QCoreApplication::installTranslator(&translator_);
  return installed_;
}

}  // namespace zr78
