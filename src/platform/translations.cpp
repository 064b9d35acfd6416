#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace metopt::platform {

QTranslator* LoadQtTranslations(QCoreApplication& application, const QLocale& locale) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    translator->setParent(&application);
    QCoreApplication::installTranslator(translator.get());
    return translator.release();
}

QTranslator* LoadQtTranslations(QCoreApplication& application) {
    return LoadQtTranslations(application, QLocale::system());
}

}  // namespace metopt::platform
