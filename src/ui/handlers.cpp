// The handlers of the main window: commands, animation, invalidation, repaints, colour editor and
// the two text sinks.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include "palette/palette.h"
#include "platform/dropdown.h"
#include "platform/eventguard.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "render/fill.h"
#include "render/mousereadout.h"
#include "render/pointpick.h"
#include "render/savedpicture.h"
#include "render/startmarker.h"
#include "render/stepmarks.h"
#include "runtime/exceptions.h"
#include "runtime/numformat.h"
#include "ui/drawingcommand.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

// Long loops write the status line once per row; repainting it at most this often keeps the
// progress visible without slowing the loop.
constexpr qint64 StatusRepaintIntervalMs = 50;

}  // namespace

// --- Text sinks and state ---

void FormProgress::ShowStatus(const std::string& text) {
    form_.ShowStatus(text);
}

bool FormProgress::StopRequested() const {
    return form_.Session().StopRequested;
}

void TfmMnForm::ShowStatus(const std::string& text) {
    sbMessag->showMessage(QString::fromStdString(text));
    if (!sinceStatusRepaint_.isValid() ||
        sinceStatusRepaint_.elapsed() >= StatusRepaintIntervalMs) {
        sinceStatusRepaint_.start();
        // Painted at once: the loops that write it let no events through until they end.
        sbMessag->repaint();
    }
}

std::string TfmMnForm::StatusText() const {
    return sbMessag->currentMessage().toStdString();
}

void TfmMnForm::AddReportLine(const std::string& text) {
    QTextCursor cursor(mmOtchet->document());
    cursor.movePosition(QTextCursor::End);
    // The first line goes into the empty document's one block; text typed into the memo by the
    // user counts as lines too.
    if (!reportEmpty_ || !mmOtchet->document()->isEmpty()) {
        cursor.insertBlock();
    }
    cursor.insertText(QString::fromStdString(text));
    reportEmpty_ = false;
}

void TfmMnForm::ClearReport() {
    mmOtchet->clear();
    reportEmpty_ = true;
}

std::vector<std::string> TfmMnForm::ReportLines() const {
    std::vector<std::string> lines;
    if (reportEmpty_ && mmOtchet->document()->isEmpty()) {
        return lines;
    }
    for (QTextBlock block = mmOtchet->document()->begin(); block.isValid(); block = block.next()) {
        lines.push_back(block.text().toStdString());
    }
    return lines;
}

// --- Start and end ---

void TfmMnForm::FormCreate() {
    coEquat->SetItemIndex(1);
    coFill->SetItemIndex(0);
    coLevel->SetItemIndex(0);
    coMetOpt->SetItemIndex(0);
    render::SaveBackingImage(session_.SavedPicture, pbDrawAr->Surface());
    palette::LoadPalette(session_.Palette, paletteFile_);
    seDiNmCl->SetValue(0);
}

void TfmMnForm::mmdFexitClick() {
    close();
}

// --- What a user can do ---

void TfmMnForm::Press(Button button) {
    QPushButton* const buttons[] = {bbDrMpCl, bbDrMpLL, bbDrGrid, bbIterat, bbStopIt};
    buttons[static_cast<std::size_t>(button)]->click();
}

bool TfmMnForm::Animating() const {
    return tmTimer->isActive();
}

std::int32_t TfmMnForm::FrameTime() const {
    return seTimFrm->Value();
}

// --- Commands ---
// Deliberate: see docs/behaviour.md, "No rollback".

void TfmMnForm::bbDrGridClick() {
    const app::TSettings settings = Settings();
    const DrawingCommand command(*this);
    app::DrawGrid(session_, settings, pbDrawAr->Surface());
}

// Deliberate: see docs/behaviour.md, "Stop".
void TfmMnForm::bbStopItClick() {
    session_.StopRequested = true;
    if (runWorker_.Busy())
        runWorker_.RequestStop();
}

void TfmMnForm::ReplaceReport(const std::vector<std::string>& lines) {
    ClearReport();
    // One edit of the document: it is laid out once, not after every line.
    QTextCursor edit(mmOtchet->document());
    edit.beginEditBlock();
    for (const std::string& line : lines) {
        AddReportLine(line);
    }
    edit.endEditBlock();
}

void TfmMnForm::StartTraceAnimation() {
    const app::TSettings settings = Settings();
    if (!app::StartTraceAnimation(session_, settings, pbDrawAr->Surface(), progress_))
        return;
    SetTimerInterval(settings.frameTime);
    SetTimerEnabled(true);
}

// --- Animation ---

// Deliberate: see docs/behaviour.md, "Stop".
void TfmMnForm::tmTimerTimer() {
    // A map drawn on the worker thread puts its picture in place at its end; the animation goes
    // on from there, as after a map drawn here.
    if (drawingMap_)
        return;
    const platform::PaintBox::DrawingScope drawing(*pbDrawAr);
    if (!app::AnimationTick(session_, pbDrawAr->Surface(), progress_))
        SetTimerEnabled(false);
}

void TfmMnForm::SetTimerInterval(int milliseconds) {
    if (tmTimer->interval() != milliseconds) {
        tmTimer->setInterval(milliseconds);
    }
}

void TfmMnForm::SetTimerEnabled(bool enabled) {
    if (enabled == tmTimer->isActive()) {
        return;
    }
    if (!enabled) {
        tmTimer->stop();
        return;
    }
    tmTimer->start();
    if (!tmTimer->isActive()) {
        // Deliberate: see docs/behaviour.md, "English runtime texts".
        throw runtime::Exception("Not enough timers available");
    }
}

// --- Repaints and the mouse readout ---

void TfmMnForm::pbColMapPaint() {
    render::DrawLegend(pbColMap->Surface(), session_.Palette);
}

void TfmMnForm::pbDrawArPaint() {
    render::RestoreBackingImage(session_.SavedPicture, pbDrawAr->Surface(),
                                session_.Plot.GraphParams, GraphFields());
    DrawOverlays();
}

void TfmMnForm::DrawOverlays() {
    if (clickedStart_)
        render::DrawStartRing(pbDrawAr->Surface(), clickedStart_->x(), clickedStart_->y(),
                              session_.Palette[palette::TracePenColor].Color, false);
    if (stepMarks_)
        render::DrawStepMarks(pbDrawAr->Surface(), session_.Plot, *stepMarks_);
}

void TfmMnForm::ForgetOverlays() {
    if (!clickedStart_ && !stepMarks_)
        return;
    clickedStart_.reset();
    stepMarks_.reset();
    render::RestoreBackingImage(session_.SavedPicture, pbDrawAr->Surface(),
                                session_.Plot.GraphParams, GraphFields());
}

void TfmMnForm::pbDrawArMouseMove(int x, int y) {
    const render::MouseReadout readout =
        render::MouseReadoutAt(session_.Plot, x, y, pbDrawAr->width(), pbDrawAr->height());
    lbTraceX->setText(QString::fromStdString(readout.x));
    lbTraceY->setText(QString::fromStdString(readout.y));
    lbTraceZ->setText(QString::fromStdString(readout.z));
}

void TfmMnForm::pbDrawArLeftClick(int x, int y) {
    // The start is an input of the work under way.
    if (!gbBegPar->isEnabled())
        return;
    const std::optional<render::PickedPoint> point =
        render::PointAtPixel(session_.Plot, x, y, pbDrawAr->width(), pbDrawAr->height());
    if (!point)
        return;
    meBeg_Xr->SetText(point->x);
    meBeg_Yr->SetText(point->y);
    // The ring of the new start over the picture, until a command draws: never saved with it.
    ForgetOverlays();
    if (cbStMark->isChecked()) {
        clickedStart_ = QPoint(x, y);
        DrawOverlays();
    }
    ShowStatus("Начальная точка: x0 = " + point->x + ", y0 = " + point->y);
}

// --- Invalidation ---

void TfmMnForm::tsDrawResize() {
    app::DrawingAreaResized(session_, pbDrawAr->width(), pbDrawAr->height());
    meWkSzX->SetText(runtime::FormatInteger(pbDrawAr->width()));
    meWkSzY->SetText(runtime::FormatInteger(pbDrawAr->height()));
}

void TfmMnForm::coEquatChange() {
    app::TSettings settings = Settings();
    // A classic item chosen brings its region and start, as if typed.
    if (coEquat->ItemIndex() >= 0 && app::TakeClassicView(settings)) {
        for (const auto member : app::ClassicViewFields)
            ControlOf(app::TextSetting{member})->SetText(settings.*member);
    }
    app::EquationChanged(session_, settings);
}

// Deliberate: see docs/behaviour.md, "Typed formulas".
void TfmMnForm::coEquatExit() {
    app::CompileEquation(session_, Settings());
}

void TfmMnForm::gbDrwParFieldChange() {
    app::RegionChanged(session_);
}

}  // namespace metopt::ui
