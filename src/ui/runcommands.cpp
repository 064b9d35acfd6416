// The window's runs: "Начать итерации" and "Сравнить методы" compute on the worker thread while
// the window stays live, with their progress in the status line; their end shows the outcome.
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <chrono>
#include <memory>

#include "app/descentrun.h"
#include "app/runworker.h"
#include "platform/eventguard.h"
#include "platform/paintbox.h"
#include "render/savedpicture.h"
#include "render/trace.h"
#include "ui/drawingcommand.h"
#include "ui/mainform.h"

namespace metopt::ui {

void TfmMnForm::bbIteratClick() {
    const app::TSettings settings = Settings();
    app::CompileEquation(session_, settings);
    const DrawingCommand command(*this, settings, app::RangeScan::Skip);
    StartRun(app::PrepareRun(session_, settings, pbDrawAr->Surface(), progress_, false));
}

// --- Runs on the worker thread ---

void TfmMnForm::StartRun(std::shared_ptr<app::TDescentRun> run) {
    pendingRun_ = run;
    runObjective_ = app::ObjectiveOf(run->fields);
    statusBeforeRun_ = sbMessag->currentMessage();
    runProgressShown_ = false;
    SetRunControlsEnabled(false);
    // Until the run ends, repaints show the picture as it stood, and the surface keeps the
    // minimum marker for the picture the run's end saves.
    runDrawing_ = std::make_unique<platform::PaintBox::DrawingScope>(*pbDrawAr);
    runAreaSize_ = pbDrawAr->size();
    const std::uint64_t number = ++runNumber_;
    runWorker_.Start([run](core::TRunWatch& watch) { run->Run(watch); },
                     [this, number] {
                         // Back on the window's thread, after the events already queued; a run
                         // that AwaitRun or closing has finished since is not finished again.
                         QMetaObject::invokeMethod(
                             this,
                             [this, number] {
                                 if (number == runNumber_)
                                     platform::RunEvent([this] { FinishRun(); });
                             },
                             Qt::QueuedConnection);
                     });
    tmRunProgress->start();
}

void TfmMnForm::ShowRunProgress() {
    runProgressShown_ = true;
    ShowStatus(app::ProgressText(runWorker_.Progress(), runObjective_));
}

void TfmMnForm::AwaitRun(const std::function<bool(const std::string& progress)>& waiting) {
    if (!runWorker_.Busy())
        return;
    runWorker_.Wait(
        [&] {
            if (waiting(app::ProgressText(runWorker_.Progress(), runObjective_)))
                runWorker_.RequestStop();
        },
        std::chrono::milliseconds(RunProgressIntervalMs));
    platform::RunEvent([this] { FinishRun(); });
}

void TfmMnForm::SetRunControlsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{bbDrMpCl, bbDrMpLL, bbDrGrid, bbIterat,
                                                            gbLstSet, gbBegPar})
        control->setEnabled(enabled);
    mmdWkCmpR->setEnabled(enabled);
    mmuWkStop->setEnabled(enabled);
    mmuWkCmpS->setEnabled(enabled);
}

void TfmMnForm::FinishRun() {
    // A queued end of a run that AwaitRun or closing the window has finished already.
    if (!runWorker_.Busy())
        return;
    const app::TRunEnd end = runWorker_.Finish();
    // Ends with this handler, showing the surface as the run's end leaves it.
    const std::unique_ptr<platform::PaintBox::DrawingScope> drawing = std::move(runDrawing_);
    tmRunProgress->stop();
    SetRunControlsEnabled(true);
    const std::shared_ptr<app::TDescentRun> run = std::move(pendingRun_);
    const bool completes = !end.stopped && !end.error;
    if (!end.stopped && runProgressShown_)
        ShowStatus(statusBeforeRun_.toStdString());
    // A drawing area resized during the run starts anew in the background: it gets the saved
    // picture back, as a repaint would have given it.
    if (completes && pbDrawAr->size() != runAreaSize_)
        render::RestoreBackingImage(session_.SavedPicture, pbDrawAr->Surface(),
                                    session_.Plot.GraphParams, GraphFields());
    // Stopped: the picture as saved before the run, the model and the report untouched.
    if (!app::EndRun(session_, Settings(), pbDrawAr->Surface(), *run, end)) {
        ShowStatus(app::StoppedText(end.progress.iteration));
        return;
    }
    ReplaceReport(run->lines);
    UpdateConvergencePage();
    mmdFsvAni->setEnabled(true);
    StartTraceAnimation();
}

}  // namespace metopt::ui
