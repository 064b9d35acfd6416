#include "platform/bundledfonts.h"

#ifdef _WIN32
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QtGlobal>
#endif

namespace metopt::platform {

#ifdef _WIN32

void ChooseBundledFontEngine() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
}

void LoadBundledFonts() {
    const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/lib/fonts"));
    for (const QString& name : folder.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(name));
}

#else

void ChooseBundledFontEngine() {}
void LoadBundledFonts() {}

#endif

}  // namespace metopt::platform
