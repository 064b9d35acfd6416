// Lab files in the window: "Файл" → "Открыть работу…", "Сохранить работу…" and "Недавние
// работы"; a lab sets every field and choice at once (or, refused, none), and shows its title in
// the window's title and its task above the report.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStringList>
#include <variant>

#include "app/fieldtable.h"
#include "app/labfile.h"
#include "palette/palette.h"
#include "platform/dropdown.h"
#include "platform/eventguard.h"
#include "platform/filedialog.h"
#include "platform/memo.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "runtime/exceptions.h"
#include "ui/designcontrols.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

constexpr int RecentLabCount = 8;
constexpr const char* RecentLabsKey = "recentLabs";

QSettings ProgramSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("metopt"),
                     QStringLiteral("metopt"));
}

}  // namespace

void TfmMnForm::CreateLabMenu() {
    mmdFopLab = Named(mmuFile->addAction(QStringLiteral("Открыть работу…")), "mmdFopLab");
    mmdFopLab->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mmdFsvLab = Named(mmuFile->addAction(QStringLiteral("Сохранить работу…")), "mmdFsvLab");
    mmdFsvLab->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mmuFrecnt = Named(mmuFile->addMenu(QStringLiteral("Недавние работы")), "mmuFrecnt");
    mmdFemp0 = Named(mmuFile->addSeparator(), "mmdFemp0");
    ShowRecentLabs();
}

void TfmMnForm::CreateTaskLabel() {
    lbLabTsk = Named(new QLabel(tsReport), "lbLabTsk");
    lbLabTsk->setWordWrap(true);
    lbLabTsk->setTextFormat(Qt::PlainText);
    lbLabTsk->setMargin(4);
    lbLabTsk->hide();
}

void TfmMnForm::PlaceReportPage() {
    const QRect page = tsReport->rect();
    int top = 0;
    if (lbLabTsk->isVisibleTo(tsReport)) {
        top = lbLabTsk->heightForWidth(page.width());
        lbLabTsk->setGeometry(0, 0, page.width(), top);
    }
    mmOtchet->setGeometry(0, top, page.width(), page.height() - top);
}

// --- The menu's items ---

void TfmMnForm::mmdFopLabClick() {
    const QString folder = lastSaveFolder_.isEmpty() ? QDir::currentPath() : lastSaveFolder_;
    const QString chosen = platform::AskOpenFileName(
        this, {QStringLiteral("Открыть работу"), folder, QString::fromUtf8(app::LabFileFilter)});
    if (!chosen.isEmpty())
        OpenLabFile(chosen.toStdString());
}

void TfmMnForm::mmdFsvLabClick() {
    SaveWithDialog("Сохранить работу", "metopt.metopt", app::LabFileFilter,
                   [this](const std::string& file) {
                       app::SaveLab(file, Lab());
                       RememberRecentLab(file);
                   });
}

void TfmMnForm::OpenLabFile(const std::string& file) {
    const app::TLabRead read = app::OpenLab(file);
    // The palette first: a palette that cannot be read refuses the file before anything changes.
    if (!read.lab.palette.empty() && read.lab.palette != paletteFile_) {
        palette::TPalette loaded{};
        try {
            palette::LoadPalette(loaded, read.lab.palette);
        } catch (const runtime::Exception& e) {
            throw runtime::Exception("Файл работы: ключ \"palette\": " + e.Message());
        }
        session_.Palette = loaded;
        paletteFile_ = read.lab.palette;
        seDiNmClChange();
        pbColMap->update();
    }
    ApplyLab(read.lab);
    lastSaveFolder_ = QFileInfo(QString::fromStdString(file)).absolutePath();
    RememberRecentLab(file);
    const std::string warning = app::UnknownKeysText(read.unknownKeys);
    if (!warning.empty())
        ShowStatus(warning);
}

// --- What a lab sets ---

void TfmMnForm::ApplyLab(const app::TLab& lab) {
    const app::TSettings& settings = lab.settings;
    for (const app::FieldRow& row : app::FieldTable()) {
        for (const app::SettingRef& setting : row.settings) {
            std::visit(
                app::Overloaded{
                    [&](app::TextSetting text) { ControlOf(text)->SetText(settings.*text.member); },
                    [&](app::SpinSetting spin) {
                        ControlOf(spin)->SetValue(settings.*spin.member);
                    },
                    [&](app::ListSetting list) {
                        if (list.member == &app::TSettings::equationItem)
                            return;  // with the equation's text
                        platform::DropDown* const control = ControlOf(list);
                        if (settings.*list.member >= 0)
                            control->ChooseItem(settings.*list.member);
                        else
                            control->TypeText("");
                    },
                    [&](app::CheckSetting box) {
                        ControlOf(box)->setChecked(settings.*box.member);
                    },
                    [&](app::TypedEquation) {
                        if (settings.equationItem >= 0) {
                            coEquat->ChooseItem(settings.equationItem);
                            return;
                        }
                        coEquat->TypeText(settings.equationText);
                        coEquat->FinishEditing();
                    },
                    [&](app::LinesSetting) {
                        mmCnList->setPlainText(QString::fromStdString(settings.constraints));
                    },
                },
                setting);
        }
    }
    ChooseStopRule(settings.stopRule);
    ChooseLineSearch(settings.lineSearch);
    ChooseConstraintMethod(static_cast<core::TConstraintMethod>(settings.constraintMethod));
    for (std::size_t i = 0; i < mmdWkCmp.size(); ++i)
        mmdWkCmp[i]->setChecked(std::ranges::find(settings.compared, static_cast<int>(i)) !=
                                settings.compared.end());
    // The method was chosen before the noise's field got its text.
    ShowLearningGroup();
    ShowLabText(lab.title, lab.task);
}

void TfmMnForm::ShowLabText(const std::string& title, const std::string& task) {
    labTitle_ = title;
    labTask_ = task;
    const QString window = QString::fromUtf8(WindowTitle);
    setWindowTitle(title.empty() ? window : QString::fromStdString(title) + " — " + window);
    lbLabTsk->setText(QString::fromStdString(task));
    lbLabTsk->setVisible(!task.empty());
    ClearReport();
    PlaceReportPage();
    if (!task.empty())
        pcMnPage->SetActivePage(tsReport);
}

app::TLab TfmMnForm::Lab() const {
    return {Settings(), paletteFile_, labTitle_, labTask_};
}

// --- "Недавние работы" ---

void TfmMnForm::RememberRecentLab(const std::string& file) {
    const QString path = QFileInfo(QString::fromStdString(file)).absoluteFilePath();
    QSettings settings = ProgramSettings();
    QStringList recent = settings.value(QLatin1String(RecentLabsKey)).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > RecentLabCount)
        recent.removeLast();
    settings.setValue(QLatin1String(RecentLabsKey), recent);
    ShowRecentLabs();
}

void TfmMnForm::ShowRecentLabs() {
    mmuFrecnt->clear();
    const QStringList recent = ProgramSettings().value(QLatin1String(RecentLabsKey)).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* item = mmuFrecnt->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        item->setToolTip(path);
        connect(item, &QAction::triggered, this,
                [this, path] { platform::RunEvent([&] { OpenLabFile(path.toStdString()); }); });
    }
    mmuFrecnt->setEnabled(!recent.isEmpty());
}

}  // namespace metopt::ui
