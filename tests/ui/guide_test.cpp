// The user's guide, docs/guide.md, names every caption of the window (labels, buttons, check
// boxes, group boxes, page tabs, menu items) as the window shows it and every batch option of
// --help. The window is looked at through Qt alone, so the test holds while the window's code
// changes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStringList>
#include <QTabBar>
#include <string>

#include "cli/batchoptions.h"
#include "platform/messagebox.h"
#include "support/qt_environment.h"
#include "support/test_window.h"

namespace metopt::ui {
using namespace cli;
namespace {

// A caption as the user reads it: no '&' of a keyboard accelerator ("&&" is a '&'), no shortcut
// after a tab, blanks at the ends dropped and runs of blanks read as one (the padding that places
// a text beside a field or a glyph does not belong to its words).
QString Readable(QString text) {
    text = text.section(QLatin1Char('\t'), 0, 0);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text.simplified();
}

void AddMenu(const QList<QAction*>& actions, QStringList& captions) {
    for (const QAction* action : actions) {
        if (action->isSeparator()) {
            continue;
        }
        captions << action->text();
        if (action->menu()) {
            AddMenu(action->menu()->actions(), captions);
        }
    }
}

// Every caption of the window that is not hidden on its own (a page that is not in front is
// hidden, the controls on it are not).
QStringList WindowCaptions(const testsupport::TestWindow& form) {
    QStringList captions;
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        if (!label->isHidden()) {
            captions << label->text();
        }
    }
    for (const QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        if (!button->isHidden()) {
            captions << button->text();
        }
    }
    for (const QGroupBox* group : form.findChildren<QGroupBox*>()) {
        if (!group->isHidden()) {
            captions << group->title();
        }
    }
    for (const QTabBar* tabs : form.findChildren<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            captions << tabs->tabText(i);
        }
    }
    AddMenu(form.menuBar()->actions(), captions);

    QStringList readable;
    for (const QString& caption : captions) {
        const QString text = Readable(caption);
        if (!text.isEmpty() && !readable.contains(text)) {
            readable << text;
        }
    }
    return readable;
}

// The options of --help: the first word of each line that begins with blanks and "--".
QStringList HelpOptions() {
    QStringList options;
    const QRegularExpression line(QStringLiteral("^ +(--[a-z0-9-]+)"),
                                  QRegularExpression::MultilineOption);
    for (auto match = line.globalMatch(QString::fromStdString(BatchUsage())); match.hasNext();) {
        options << match.next().captured(1);
    }
    return options;
}

QString Guide() {
    QFile file(QStringLiteral(METOPT_SOURCE_DIR "/docs/guide.md"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly))
        << "cannot read " << METOPT_SOURCE_DIR << "/docs/guide.md";
    return QString::fromUtf8(file.readAll());
}

TEST(Guide, NamesEveryCaptionOfTheWindowAndEveryBatchOption) {
    platform::SetErrorBoxHandler([](const std::string&, const std::string& text) {
        ADD_FAILURE() << "error box while the window was made: " << text;
    });
    const testsupport::TestWindow form(nullptr, METOPT_SOURCE_DIR "/data/Palitr10.dat");
    platform::SetErrorBoxHandler(nullptr);

    const QString raw = Guide();
    const QString guide = raw.simplified();
    const QStringList captions = WindowCaptions(form);
    const QStringList options = HelpOptions();
    ASSERT_FALSE(captions.isEmpty());
    ASSERT_FALSE(options.isEmpty());

    for (const QString& caption : captions) {
        EXPECT_TRUE(guide.contains(caption))
            << "docs/guide.md does not mention the caption \"" << caption.toStdString() << "\"";
    }
    for (const QString& option : options) {
        const QRegularExpression named(QRegularExpression::escape(option) +
                                       QStringLiteral("(?![a-z0-9-])"));
        EXPECT_TRUE(raw.contains(named))
            << "docs/guide.md does not mention the option " << option.toStdString();
    }
}

}  // namespace
}  // namespace metopt::ui
