// Qt's own texts in the user's language: a text field's context menu and the save dialog's buttons
// read Russian under a Russian locale and stay English under C.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QTranslator>
#include <algorithm>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>

#include "platform/translations.h"
#include "support/qt_environment.h"

namespace metopt::platform {
namespace {

struct TextsCase {
    const char* locale;
    bool loads;  // Qt ships a catalogue for the locale
    const char* copy;
    const char* saveButtons;
};

void PrintTo(const TextsCase& row, std::ostream* os) {
    *os << row.locale;
}

// Qt's own English texts, where no catalogue is loaded.
constexpr TextsCase kUntranslated{"C", false, "&Copy", "&Save|Cancel"};

const TextsCase kCases[] = {
    {"ru_RU", true, "&Копировать", "&Сохранить|Отмена"},
    {"de_DE", true, "&Kopieren", "S&peichern|Abbrechen"},
    {"en_US", true, "&Copy", "&Save|Cancel"},
    kUntranslated,
    {"eo", false, "&Copy", "&Save|Cancel"},  // no catalogue: English
};

// The text of a line edit's context menu action for the key, without its shortcut.
std::string ContextMenuText(QKeySequence::StandardKey key) {
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    for (const QAction* action : menu->actions()) {
        if (action->text().endsWith(QLatin1Char('\t') + shortcut))
            return action->text().chopped(shortcut.size() + 1).toStdString();
    }
    return {};
}

// The texts of the buttons of Qt's own save dialog, joined by '|'.
std::string SaveDialogButtons() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons())
        texts << button->text();
    return texts.join(QLatin1Char('|')).toStdString();
}

void ExpectTexts(const TextsCase& row) {
    EXPECT_EQ(ContextMenuText(QKeySequence::Copy), row.copy);
    EXPECT_EQ(SaveDialogButtons(), row.saveButtons);
}

class QtTranslationsTest : public ::testing::TestWithParam<TextsCase> {};

TEST_P(QtTranslationsTest, QtTextsReadTheLocalesLanguage) {
    const std::unique_ptr<QTranslator> translator(LoadQtTranslations(
        *QCoreApplication::instance(), QLocale(QString::fromLatin1(GetParam().locale))));
    EXPECT_EQ(translator != nullptr, GetParam().loads);
    ExpectTexts(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Locales, QtTranslationsTest, ::testing::ValuesIn(kCases));

// Also run under LANG=ru_RU.UTF-8, which METOPT_EXPECTED_LANGUAGE=ru then confirms reached Qt.
TEST(QtSystemTranslationsTest, FollowTheSystemLocale) {
    const QLocale::Language language = QLocale::system().language();
    const QString expected = qEnvironmentVariable("METOPT_EXPECTED_LANGUAGE");
    if (!expected.isEmpty()) {
        EXPECT_EQ(QLocale::languageToCode(language).toStdString(), expected.toStdString());
    }
    const auto* row = std::find_if(std::begin(kCases), std::end(kCases), [&](const TextsCase& c) {
        return QLocale(QString::fromLatin1(c.locale)).language() == language;
    });
    const std::unique_ptr<QTranslator> translator(
        LoadQtTranslations(*QCoreApplication::instance()));
    ExpectTexts(row != std::end(kCases) ? *row : kUntranslated);
}

}  // namespace
}  // namespace metopt::platform
