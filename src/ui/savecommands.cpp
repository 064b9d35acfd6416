// The menu "Файл": the picture, the report, the animation, the convergence chart and the surface
// saved where the user chooses.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <string>

#include "app/comparisonexports.h"
#include "app/exports.h"
#include "app/surfacepicture.h"
#include "platform/dropdown.h"
#include "platform/filedialog.h"
#include "platform/surfacebox.h"
#include "ui/mainform.h"

namespace metopt::ui {

void TfmMnForm::SaveWithDialog(const char* caption, const char* defaultName, const char* filter,
                               const std::function<void(const std::string&)>& write) {
    const QString name = QString::fromUtf8(defaultName);
    QString folder = lastSaveFolder_;
    // Before the first save: the current folder, unless it cannot take a file (the menu entry
    // starts the program in the palette's system folder), then the home folder.
    if (folder.isEmpty() && !QFileInfo(QDir::currentPath()).isWritable())
        folder = QDir::homePath();
    const QString proposed = folder.isEmpty() ? name : folder + '/' + name;
    const QString chosen = platform::AskSaveFileName(
        this, {QString::fromUtf8(caption), proposed, QString::fromUtf8(filter)});
    if (chosen.isEmpty())
        return;  // cancelled
    lastSaveFolder_ = QFileInfo(chosen).absolutePath();
    write(chosen.toStdString());
}

void TfmMnForm::mmdFsvPicClick() {
    SaveWithDialog("Сохранить рисунок", "metopt.png", "Рисунки PNG (*.png)",
                   [this](const std::string& file) { app::WritePicture(session_, file); });
}

void TfmMnForm::mmdFsvRepClick() {
    SaveWithDialog("Сохранить отчет", "metopt.txt", "Текстовые файлы (*.txt)",
                   [this](const std::string& file) { app::WriteReport(ReportLines(), file); });
}

void TfmMnForm::mmdFsvAniClick() {
    SaveWithDialog(
        "Сохранить анимацию", "metopt.gif", "Анимации GIF (*.gif)",
        [this](const std::string& file) { app::WriteAnimation(session_, FrameTime(), file); });
}

void TfmMnForm::mmdFsvCnvClick() {
    SaveWithDialog("Сохранить график сходимости", "metopt-convergence.png", "Рисунки PNG (*.png)",
                   [this](const std::string& file) {
                       const int kind = std::max(0, coConvKind->ItemIndex());
                       app::WriteConvergencePicture(session_,
                                                    static_cast<app::ConvergenceKind>(kind), file);
                   });
}

// The surface as the page shows it, at the page's size.
void TfmMnForm::mmdFsvSrfClick() {
    SaveWithDialog("Сохранить поверхность", "metopt-surface.png", "Рисунки PNG (*.png)",
                   [this](const std::string& file) {
                       platform::Canvas canvas(std::max(sbSurf->width(), app::MinSurfaceSide),
                                               std::max(sbSurf->height(), app::MinSurfaceSide));
                       DrawSurfacePage(canvas);
                       app::WritePng(canvas.Image(), file);
                   });
}

}  // namespace metopt::ui
