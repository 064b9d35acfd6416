#pragma once
// Qt's own texts (the file dialog's buttons, the fields' context menus, the message boxes' buttons)
// in the user's language: Qt's translation catalogue for the locale, installed in the application.
#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace metopt::platform {

// Loads qtbase_<language>.qm for the locale's interface languages from Qt's translations folder and
// installs it in the application, which owns it from then on. Returns the translator, or nullptr
// (Qt's texts stay English) when Qt ships no translation for the locale.
QTranslator* LoadQtTranslations(QCoreApplication& application, const QLocale& locale);

// The same for the system locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG): called at start, in the
// window and in batch mode alike.
QTranslator* LoadQtTranslations(QCoreApplication& application);

}  // namespace metopt::platform
