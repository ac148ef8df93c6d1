// Loads Qt's catalogue for a locale from Qt's translations folder.
#include "framework/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace qtbackend {

QtTranslations::QtTranslations(const QLocale& locale) {
    // "qt_xx" names the catalogues of Qt's modules (qtbase_xx, ...), loaded with it.
    loaded_ = translator_.load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
              QCoreApplication::installTranslator(&translator_);
}

QtTranslations::~QtTranslations() {
    if (loaded_) QCoreApplication::removeTranslator(&translator_);
}

}  // namespace qtbackend
