// The window's work on the worker thread: "Начать итерации" and "Сравнить методы" compute there,
// and so does a map (or its level lines) that takes longer than a moment, while the window stays
// live, with their progress in the status line; their end shows the outcome.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <chrono>
#include <memory>

#include "app/descentrun.h"
#include "app/maprun.h"
#include "app/runworker.h"
#include "platform/eventguard.h"
#include "platform/memo.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/textfield.h"
#include "render/savedpicture.h"
#include "render/trace.h"
#include "ui/drawingcommand.h"
#include "ui/mainform.h"

namespace metopt::ui {

// --- The commands ---

void TfmMnForm::bbIteratClick() {
    const app::TSettings settings = Settings();
    app::CompileProblem(session_, settings);
    const DrawingCommand command(*this);
    StartRun(app::PrepareRun(session_, settings, pbDrawAr->Surface(), progress_, false));
}

void TfmMnForm::bbDrMpClClick() {
    DrawMap(app::MapPass::Fill);
}

void TfmMnForm::bbDrMpLLClick() {
    DrawMap(app::MapPass::LevelLines);
}

// --- Work on the worker thread ---

void TfmMnForm::StartWork(app::TRunWorker::Job job, std::function<std::string()> progressText,
                          std::function<void(const app::TRunEnd&)> finish) {
    workProgress_ = std::move(progressText);
    finishWork_ = std::move(finish);
    statusBeforeRun_ = sbMessag->currentMessage();
    runProgressShown_ = false;
    // Until the work ends, repaints show the picture as it stood, and the surface keeps what the
    // command drew before it (a run's minimum marker) for the picture its end saves.
    runDrawing_ = std::make_unique<platform::PaintBox::DrawingScope>(*pbDrawAr);
    runAreaSize_ = pbDrawAr->size();
    const std::uint64_t number = ++runNumber_;
    runWorker_.Start(std::move(job), [this, number] {
        // Back on the window's thread, after the events already queued; work that AwaitRun, a
        // quick map or closing has finished since is not finished again.
        QMetaObject::invokeMethod(
            this,
            [this, number] {
                if (number == runNumber_)
                    platform::RunEvent([this] { FinishWork(); });
            },
            Qt::QueuedConnection);
    });
}

void TfmMnForm::WorkGoesOn() {
    focusBeforeWork_ = QApplication::focusWidget();
    SetRunControlsEnabled(false);
    // Disabling the focused button moves the focus on; its end gives it back unless the user has
    // moved it since.
    focusDuringWork_ = QApplication::focusWidget();
    tmRunProgress->start();
}

void TfmMnForm::GiveFocusBack() {
    if (focusBeforeWork_ && focusBeforeWork_ != focusDuringWork_ &&
        QApplication::focusWidget() == focusDuringWork_)
        focusBeforeWork_->setFocus();
    focusBeforeWork_ = nullptr;
    focusDuringWork_ = nullptr;
}

void TfmMnForm::ShowRunProgress() {
    const std::string text = workProgress_ ? workProgress_() : std::string();
    if (text.empty())
        return;
    runProgressShown_ = true;
    ShowStatus(text);
}

void TfmMnForm::AwaitRun(const std::function<bool(const std::string& progress)>& waiting) {
    if (!runWorker_.Busy())
        return;
    runWorker_.Wait(
        [&] {
            if (waiting(workProgress_()))
                runWorker_.RequestStop();
        },
        std::chrono::milliseconds(RunProgressIntervalMs));
    platform::RunEvent([this] { FinishWork(); });
}

void TfmMnForm::SetRunControlsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             bbDrMpCl, bbDrMpLL, bbDrGrid, bbIterat, bbStepIt, gbLstSet, gbBegPar, gbLearn,
             mmCnList, meCnR0, meCnGr, meCnEps, cbCnHatch})
        control->setEnabled(enabled);
    mmdWkStep->setEnabled(enabled);
    mmdWkCmpR->setEnabled(enabled);
    mmdWkFitR->setEnabled(enabled);
    mmdWkBckR->setEnabled(enabled);
    mmdFopLab->setEnabled(enabled);
    mmuFrecnt->setEnabled(enabled && !mmuFrecnt->isEmpty());
    mmuWkStop->setEnabled(enabled);
    mmuWkLnSr->setEnabled(enabled);
    mmuWkCmpS->setEnabled(enabled);
    mmuWkCnst->setEnabled(enabled);
}

void TfmMnForm::FinishWork() {
    // A queued end of work that AwaitRun, a quick map or closing the window has finished already.
    if (!runWorker_.Busy())
        return;
    const app::TRunEnd end = runWorker_.Finish();
    // Ends with this handler, showing the surface as the work's end leaves it.
    const std::unique_ptr<platform::PaintBox::DrawingScope> drawing = std::move(runDrawing_);
    tmRunProgress->stop();
    SetRunControlsEnabled(true);
    GiveFocusBack();
    const std::function<void(const app::TRunEnd&)> finish = std::move(finishWork_);
    workProgress_ = nullptr;
    finish(end);
}

void TfmMnForm::EndWorkWithWindow() {
    if (!runWorker_.Busy())
        return;
    runWorker_.RequestStop();
    runWorker_.Finish();
    tmRunProgress->stop();
    finishWork_ = nullptr;
    workProgress_ = nullptr;
    drawingMap_ = false;
    runDrawing_.reset();
}

// --- Runs ---

void TfmMnForm::StartRun(std::shared_ptr<app::TDescentRun> run, RunFinish finish) {
    const core::TObjective* objective = app::ObjectiveOf(run->fields);
    StartWork([run](core::TRunWatch& watch) { run->Run(watch); },
              [this, objective] { return app::ProgressText(runWorker_.Progress(), objective); },
              [this, run, finish](const app::TRunEnd& end) { (this->*finish)(*run, end); });
    WorkGoesOn();
}

void TfmMnForm::FinishRun(app::TDescentRun& run, const app::TRunEnd& end) {
    const bool completes = !end.stopped && !end.error;
    if (!end.stopped && runProgressShown_)
        ShowStatus(statusBeforeRun_.toStdString());
    // A drawing area resized during the run starts anew in the background: it gets the saved
    // picture back, as a repaint would have given it.
    if (completes && pbDrawAr->size() != runAreaSize_)
        render::RestoreBackingImage(session_.SavedPicture, pbDrawAr->Surface(),
                                    session_.Plot.GraphParams, GraphFields());
    // Stopped: the picture as saved before the run, the model and the report untouched.
    if (!app::EndRun(session_, Settings(), pbDrawAr->Surface(), run, end)) {
        ShowStatus(app::StoppedText(end.progress.iteration));
        return;
    }
    ShowCompletedRun(run);
}

void TfmMnForm::ShowCompletedRun(const app::TDescentRun& run) {
    ReplaceReport(run.lines);
    UpdateConvergencePage();
    UpdateSurfacePage();
    ShowLineSearches();
    mmdFsvAni->setEnabled(true);
    StartTraceAnimation();
}

// --- Maps ---

// Deliberate: see docs/behaviour.md, "No rollback".
void TfmMnForm::DrawMap(app::MapPass pass) {
    const app::TSettings settings = Settings();
    app::CompileProblem(session_, settings);
    ForgetOverlays();
    app::BeginDrawing(session_);
    const std::shared_ptr<app::TMapRun> run =
        app::PrepareMapRun(session_, settings, pbDrawAr->Surface(), pass);
    const auto progress = std::make_shared<app::TMapProgress>(runWorker_);
    drawingMap_ = true;
    StartWork(
        [run, progress](core::TRunWatch&) { run->Run(*progress); },
        [progress] { return progress->Text(); },
        [this, run, progress](const app::TRunEnd& end) { FinishMap(*run, progress->Text(), end); });
    // A quick map ends here, as if drawn on this thread: nothing else happens in between, and
    // no control is disabled (which would move the keyboard focus).
    if (runWorker_.Wait([this] { ShowRunProgress(); },
                        std::chrono::milliseconds(RunProgressIntervalMs), synchronousMapTime_))
        FinishWork();
    else
        WorkGoesOn();
}

void TfmMnForm::FinishMap(app::TMapRun& run, const std::string& status, const app::TRunEnd& end) {
    drawingMap_ = false;
    if (end.stopped || end.error)
        redrawSteps_.clear();
    if (end.stopped) {
        ShowStatus(app::MapStoppedText);
        return;
    }
    // The passes' last status text, as they left it.
    if (!status.empty())
        ShowStatus(status);
    // The page "График" is shown once the range is known, before the pass.
    if (run.scanned)
        pcMnPage->SetActivePage(tsDraw);
    app::EndMapRun(session_, Settings(), pbDrawAr->Surface(), run, end);
    // A map of a redraw that went on on the worker thread: the redraw goes on (one that ended at
    // once is continued by the redraw's own loop).
    if (!redrawSteps_.empty() && !continuingRedraw_)
        QTimer::singleShot(0, this, [this] { platform::RunEvent([this] { ContinueRedraw(); }); });
}

}  // namespace metopt::ui
