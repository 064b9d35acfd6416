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
    CompileEquation();
    const DrawingCommand command(*this, RangeScan::Skip);
    // Deliberate: see docs/behaviour.md, "Stale marker".
    render::DrawMinMarker(pbDrawAr->Surface(), Drawing());

    auto run = std::make_shared<app::TDescentRun>();
    run->descent = session_.Descent;
    run->fields = ReadDescentFields();
    run->visible = session_.Plot.VisibleRegion;
    StartRun(std::move(run));
}

// --- Runs on the worker thread ---

void TfmMnForm::StartRun(std::shared_ptr<app::TDescentRun> run) {
    pendingRun_ = run;
    runObjective_ = app::ObjectiveOf(run->fields);
    statusBeforeRun_ = sbMessag->currentMessage();
    runProgressShown_ = false;
    SetRunControlsEnabled(false);
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
    tmRunProgress->stop();
    SetRunControlsEnabled(true);
    const std::shared_ptr<app::TDescentRun> run = std::move(pendingRun_);
    if (end.stopped) {
        // The picture as it was saved before the run, the model and the report untouched.
        render::RestoreBackingImage(session_.SavedPicture, pbDrawAr->Surface(),
                                    session_.Plot.GraphParams, GraphFields());
        ShowStatus(app::StoppedText(end.progress.iteration));
        return;
    }
    if (runProgressShown_)
        ShowStatus(statusBeforeRun_.toStdString());
    // A failed run leaves its parameters and trace as it left them.
    // Deliberate: see docs/behaviour.md, "Report kept".
    session_.Descent = std::move(run->descent);
    if (end.error)
        std::rethrow_exception(end.error);

    session_.ShowsComparison = run->comparison;
    if (run->comparison)
        session_.Comparison = std::move(run->compared);
    else
        session_.RunMethod = run->fields.method;
    ReplaceReport(run->lines);
    UpdateConvergencePage();

    const platform::PaintBox::DrawingScope drawing(*pbDrawAr);
    render::SaveBackingImage(session_.SavedPicture, pbDrawAr->Surface());
    app::KeepTraceStart(session_.TraceStart, pbDrawAr->Surface(), session_.Descent, session_.Plot,
                        session_.Palette, run->comparison ? &session_.Comparison : nullptr);
    mmdFsvAni->setEnabled(true);
    StartTraceAnimation();
}

}  // namespace metopt::ui
