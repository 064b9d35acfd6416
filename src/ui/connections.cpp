// The window's connections: each control's signal, timer and paint to its handler, run under the
// event guard.
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/dropdown.h"
#include "platform/eventguard.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

// Connects a control's signal to a handler of the window, run under the event guard.
template <class Sender, class Signal>
void ConnectGuarded(TfmMnForm& form, Sender* sender, Signal signal, void (TfmMnForm::*handler)()) {
    QObject::connect(sender, signal, &form, [&form, handler] {
        platform::RunEvent([&form, handler] { (form.*handler)(); });
    });
}

}  // namespace

void TfmMnForm::ConnectHandlers() {
    ConnectGuarded(*this, bbDrMpCl, &QPushButton::clicked, &TfmMnForm::bbDrMpClClick);
    ConnectGuarded(*this, bbDrMpLL, &QPushButton::clicked, &TfmMnForm::bbDrMpLLClick);
    ConnectGuarded(*this, bbDrGrid, &QPushButton::clicked, &TfmMnForm::bbDrGridClick);
    ConnectGuarded(*this, bbIterat, &QPushButton::clicked, &TfmMnForm::bbIteratClick);
    ConnectGuarded(*this, bbStopIt, &QPushButton::clicked, &TfmMnForm::bbStopItClick);
    ConnectGuarded(*this, bbStepIt, &QPushButton::clicked, &TfmMnForm::mmdWkStepClick);
    connect(tmTimer, &QTimer::timeout, this, [this] { TimerTick(); });
    connect(tmRunProgress, &QTimer::timeout, this,
            [this] { platform::RunEvent([this] { ShowRunProgress(); }); });

    ConnectMenuHandlers();
    ConnectFieldHandlers();
    ConnectPaintHandlers();
}

void TfmMnForm::ConnectMenuHandlers() {
    ConnectGuarded(*this, mmdFopLab, &QAction::triggered, &TfmMnForm::mmdFopLabClick);
    ConnectGuarded(*this, mmdFsvLab, &QAction::triggered, &TfmMnForm::mmdFsvLabClick);
    ConnectGuarded(*this, mmdFsvPic, &QAction::triggered, &TfmMnForm::mmdFsvPicClick);
    ConnectGuarded(*this, mmdFsvRep, &QAction::triggered, &TfmMnForm::mmdFsvRepClick);
    ConnectGuarded(*this, mmdFsvAni, &QAction::triggered, &TfmMnForm::mmdFsvAniClick);
    ConnectGuarded(*this, mmdFexit, &QAction::triggered, &TfmMnForm::mmdFexitClick);
    ConnectGuarded(*this, mmdFsvCnv, &QAction::triggered, &TfmMnForm::mmdFsvCnvClick);
    ConnectGuarded(*this, mmdFsvSrf, &QAction::triggered, &TfmMnForm::mmdFsvSrfClick);
    ConnectGuarded(*this, mmdWkCmpR, &QAction::triggered, &TfmMnForm::mmdWkCmpRClick);
    ConnectGuarded(*this, mmdWkFitR, &QAction::triggered, &TfmMnForm::mmdWkFitRClick);
    ConnectGuarded(*this, mmdWkBckR, &QAction::triggered, &TfmMnForm::mmdWkBckRClick);
    ConnectGuarded(*this, mmdWkStep, &QAction::triggered, &TfmMnForm::mmdWkStepClick);
}

void TfmMnForm::ConnectFieldHandlers() {
    coEquat->OnChange = [this] { coEquatChange(); };
    coEquat->OnExit = [this] { coEquatExit(); };
    coMetOpt->OnChange = [this] { ShowLearningGroup(); };
    for (const auto member : app::RegionFields)
        ControlOf(app::TextSetting{member})->OnChange = [this] { gbDrwParFieldChange(); };
    // The drawing area's size, shown beside them, is no setting but counts as one of them.
    for (platform::TextField* field : {meWkSzX, meWkSzY})
        field->OnChange = [this] { gbDrwParFieldChange(); };
    seDiNmCl->OnChange = [this] { seDiNmClChange(); };
    seDiColR->OnChange = [this] { seDiColRChange(); };
    seDiColG->OnChange = [this] { seDiColGChange(); };
    seDiColB->OnChange = [this] { seDiColBChange(); };
}

void TfmMnForm::ConnectPaintHandlers() {
    pbDiClEx->OnPaint = [this] { pbDiClExPaint(); };
    pbColMap->OnPaint = [this] { pbColMapPaint(); };
    pbDrawAr->OnPaint = [this] { pbDrawArPaint(); };
    pbDrawAr->OnMouseMove = [this](int x, int y) { pbDrawArMouseMove(x, y); };
    pbDrawAr->OnLeftClick = [this](int x, int y) { pbDrawArLeftClick(x, y); };
    pbDrawAr->OnWheel = [this](int x, int y, int notches) { pbDrawArWheel(x, y, notches); };
    pbDrawAr->OnDrag = [this](int dx, int dy) { pbDrawArDrag(dx, dy); };
    pbDrawAr->OnDragEnd = [this](int dx, int dy) { pbDrawArDragEnd(dx, dy); };
    pcMnPage->OnPageResize = [this](QWidget* page) {
        if (page == tsDraw) {
            pbDrawAr->setGeometry(tsDraw->rect());
            platform::RunEvent([this] { tsDrawResize(); });
        } else if (page == tsReport) {
            PlaceReportPage();
        }
    };
}

}  // namespace metopt::ui
