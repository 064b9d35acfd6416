// "По шагам" and the page "Одномерный поиск": a run stepped through one iteration a press, and
// the line search of any iteration of the last run.
#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/linepage.h"
#include "app/stepping.h"
#include "platform/dropdown.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/plotchart.h"
#include "render/savedpicture.h"
#include "ui/designcontrols.h"
#include "ui/drawingcommand.h"
#include "ui/mainform.h"
#include "ui/steptable.h"

namespace metopt::ui {

namespace {

QSpinBox* MakeSpin(QWidget* parent, const char* name) {
    auto* spin = Named(new QSpinBox(parent), name);
    spin->setRange(1, 1);
    spin->setKeyboardTracking(false);
    return spin;
}

QLabel* MakeText(QWidget* parent, const char* text) {
    return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

void TfmMnForm::CreateStepCommand() {
    mmdWkStep = Named(mmuWork->addAction(QStringLiteral("По шагам")), "mmdWkStep");
    mmdWkStep->setShortcut(QKeySequence(Qt::Key_F8));
}

void TfmMnForm::mmdWkStepClick() {
    const app::TSettings settings = Settings();
    app::CompileProblem(session_, settings);
    const DrawingCommand command(*this, DrawingCommand::Kind::Step);
    StartRun(app::PrepareStep(session_, settings, pbDrawAr->Surface(), progress_),
             &TfmMnForm::FinishStep);
}

void TfmMnForm::FinishStep(app::TDescentRun& run, const app::TRunEnd& end) {
    if (!end.stopped && runProgressShown_)
        ShowStatus(statusBeforeRun_.toStdString());
    switch (app::EndStep(session_, Settings(), pbDrawAr->Surface(), progress_, run, end)) {
        case app::StepEnd::Stopped:
            ShowStatus(app::StoppedText(end.progress.iteration));
            return;
        case app::StepEnd::Finished:
            ShowCompletedRun(run);
            return;
        case app::StepEnd::Stepped:
            break;
    }
    if (const core::TLineSearchRecord* search = app::LastLineSearch(session_)) {
        stepMarks_ = *search;
        DrawOverlays();
    }
    ShowLineSearches();
    ShowStatus(app::StepStatusText(session_));
}

// --- The page "Одномерный поиск" ---

void TfmMnForm::CreateLinePage() {
    tsLine = Named(pcMnPage->AddPage(QStringLiteral("Одномерный поиск")), "tsLine");
    auto* layout = new QVBoxLayout(tsLine);
    layout->setContentsMargins(4, 4, 4, 4);
    coLnView = Named(new platform::DropDown(tsLine), "coLnView");
    coLnView->AddItem("Поиск итерации спуска");
    coLnView->AddItem("Своя функция одной переменной");
    coLnView->SetItemIndex(0);
    coLnView->lineEdit()->setReadOnly(true);
    skLnView = Named(new QStackedWidget(tsLine), "skLnView");
    coLnView->OnChange = [this] { skLnView->setCurrentIndex(std::max(0, coLnView->ItemIndex())); };
    layout->addWidget(coLnView);
    layout->addWidget(skLnView, 1);

    auto* iterations = new QWidget(skLnView);
    auto* column = new QVBoxLayout(iterations);
    column->setContentsMargins(0, 0, 0, 0);
    auto* choice = new QHBoxLayout;
    seLnIter = MakeSpin(iterations, "seLnIter");
    seLnSrch = MakeSpin(iterations, "seLnSrch");
    lbLnHead = Named(new QLabel(iterations), "lbLnHead");
    lbLnHead->setWordWrap(true);
    choice->addWidget(MakeText(iterations, "Итерация"));
    choice->addWidget(seLnIter);
    choice->addWidget(MakeText(iterations, "поиск"));
    choice->addWidget(seLnSrch);
    choice->addWidget(lbLnHead, 1);
    chLine = Named(new platform::PlotChart(iterations), "chLine");
    twLnStep = MakeStepTable(iterations, "twLnStep");
    column->addLayout(choice);
    column->addWidget(chLine, 3);
    column->addWidget(twLnStep, 2);
    skLnView->addWidget(iterations);
    skLnView->addWidget(CreateLab1D(skLnView));
    const auto update = [this] { platform::RunEvent([this] { UpdateLinePage(); }); };
    connect(seLnIter, &QSpinBox::valueChanged, this, update);
    connect(seLnSrch, &QSpinBox::valueChanged, this, update);
    UpdateLinePage();
}

void TfmMnForm::ShowLineSearches() {
    const QSignalBlocker blockIteration(seLnIter);
    const QSignalBlocker blockSearch(seLnSrch);
    // Every iteration of the run: the last one's search first.
    const std::uint32_t iterations =
        session_.ShowsComparison ? 0 : std::min(session_.Descent.TraceCount, core::TraceCapacity);
    const int last = static_cast<int>(std::max<std::uint32_t>(1, iterations));
    seLnIter->setRange(1, last);
    seLnIter->setValue(last);
    seLnSrch->setValue(1);
    UpdateLinePage();
}

void TfmMnForm::UpdateLinePage() {
    const auto iteration = static_cast<std::uint32_t>(seLnIter->value());
    const std::size_t searches = app::LineSearchesAt(session_, iteration);
    {
        const QSignalBlocker blockSearch(seLnSrch);
        seLnSrch->setRange(1, static_cast<int>(std::max<std::size_t>(1, searches)));
        seLnSrch->setEnabled(searches > 1);
    }
    const app::TLinePage page =
        app::LinePageOf(session_, iteration, static_cast<std::size_t>(seLnSrch->value() - 1));
    lbLnHead->setText(QString::fromStdString(page.heading));
    if (page.text.empty())
        chLine->Show(page.x, page.y, page.series, page.marks);
    else
        chLine->ShowText(QString::fromStdString(page.text));
    ShowStepTable(*twLnStep, page.columns, page.rows);
}

}  // namespace metopt::ui
