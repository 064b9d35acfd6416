#pragma once
// The main window as its tests see it: the window itself, every control found by its name (its
// object name) as a user finds it on the screen, and the window's model as a const view.
#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QString>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>
#include <array>
#include <chrono>
#include <stdexcept>
#include <string>

#include "platform/convergencechart.h"
#include "platform/dropdown.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/plotchart.h"
#include "platform/spinedit.h"
#include "platform/surfacebox.h"
#include "platform/textfield.h"
#include "ui/mainform.h"

namespace metopt::testsupport {

class TestWindow : public ui::TfmMnForm {
  public:
    explicit TestWindow(QWidget* parent = nullptr,
                        std::string paletteFile = palette::PaletteFileName)
        : ui::TfmMnForm(parent, std::move(paletteFile)) {
        // Every map ends within its command, however slow the build, unless a test says not.
        SetSynchronousMapTime(std::chrono::milliseconds::max());
    }
    using ui::TfmMnForm::SetSynchronousMapTime;

    // The model, read only.
    const core::TDescent& Descent = Session().Descent;
    const render::TPlot& Plot = Session().Plot;
    const render::TSampleCache& Samples = Session().Samples;
    const render::TSavedPicture& SavedPicture = Session().SavedPicture;
    const palette::TPalette& Palette = Session().Palette;
    const bool& StopRequested = Session().StopRequested;
    const std::int32_t& AnimStep = Session().AnimStep;
    const app::TTraceStart& TraceStart = Session().TraceStart;

    // Waits for the run a command started on the worker thread and shows its outcome.
    void AwaitRunEnd() {
        AwaitRun([](const std::string&) { return false; });
    }

  private:
    template <class Control>
    Control* Find(const char* name) {
        // The platform widgets carry no meta-object of their own: found by name, checked by type.
        auto* control = dynamic_cast<Control*>(findChild<QObject*>(QString::fromLatin1(name)));
        if (control == nullptr)
            throw std::logic_error(std::string("the window has no control ") + name);
        return control;
    }

  public:
    // The controls.
    QMenuBar* const mmMnMenu = Find<QMenuBar>("mmMnMenu");
    QMenu* const mmuFile = Find<QMenu>("mmuFile");
    QAction* const mmdFopLab = Find<QAction>("mmdFopLab");
    QAction* const mmdFsvLab = Find<QAction>("mmdFsvLab");
    QAction* const mmdFsvPic = Find<QAction>("mmdFsvPic");
    QAction* const mmdFsvRep = Find<QAction>("mmdFsvRep");
    QAction* const mmdFsvAni = Find<QAction>("mmdFsvAni");
    QAction* const mmdFemp1 = Find<QAction>("mmdFemp1");
    QAction* const mmdFexit = Find<QAction>("mmdFexit");
    QMenu* const mmuWork = Find<QMenu>("mmuWork");
    QMenu* const mmuWkStop = Find<QMenu>("mmuWkStop");
    QAction* const mmdWkStSt = Find<QAction>("mmdWkStSt");
    QAction* const mmdWkStGr = Find<QAction>("mmdWkStGr");
    QAction* const mmdWkStFn = Find<QAction>("mmdWkStFn");
    QMenu* const mmuWkCmpS = Find<QMenu>("mmuWkCmpS");
    QAction* const mmdWkCmpR = Find<QAction>("mmdWkCmpR");
    QAction* const mmdWkFitR = Find<QAction>("mmdWkFitR");
    QAction* const mmdWkBckR = Find<QAction>("mmdWkBckR");
    QAction* const mmdFsvCnv = Find<QAction>("mmdFsvCnv");
    QWidget* const tsConv = Find<QWidget>("tsConv");
    QAction* const mmdFsvSrf = Find<QAction>("mmdFsvSrf");
    QWidget* const tsSurf = Find<QWidget>("tsSurf");
    platform::SurfaceBox* const sbSurf = Find<platform::SurfaceBox>("sbSurf");
    platform::DropDown* const coConvKind = Find<platform::DropDown>("coConvKind");
    platform::ConvergenceChart* const chConv = Find<platform::ConvergenceChart>("chConv");
    QTableWidget* const twCompare = Find<QTableWidget>("twCompare");
    QMenu* const mmuHelp = Find<QMenu>("mmuHelp");
    QAction* const mmdHabpr = Find<QAction>("mmdHabpr");
    QAction* const mmdHemp1 = Find<QAction>("mmdHemp1");
    QAction* const mmdHemp2 = Find<QAction>("mmdHemp2");
    QAction* const mmdHabau = Find<QAction>("mmdHabau");
    platform::PageControl* const pcMnPage = Find<platform::PageControl>("pcMnPage");
    QWidget* const tsParam = Find<QWidget>("tsParam");
    QWidget* const tsGfxPar = Find<QWidget>("tsGfxPar");
    QWidget* const tsDraw = Find<QWidget>("tsDraw");
    QWidget* const tsReport = Find<QWidget>("tsReport");
    QGroupBox* const gbLstSet = Find<QGroupBox>("gbLstSet");
    QLabel* const lbEquat = Find<QLabel>("lbEquat");
    platform::DropDown* const coEquat = Find<platform::DropDown>("coEquat");
    QLabel* const lbMetOpt = Find<QLabel>("lbMetOpt");
    platform::DropDown* const coMetOpt = Find<platform::DropDown>("coMetOpt");
    QLabel* const lbFill = Find<QLabel>("lbFill");
    platform::DropDown* const coFill = Find<platform::DropDown>("coFill");
    QLabel* const lbLevel = Find<QLabel>("lbLevel");
    platform::DropDown* const coLevel = Find<platform::DropDown>("coLevel");
    QGroupBox* const gbBegPar = Find<QGroupBox>("gbBegPar");
    QLabel* const lbBegXYr = Find<QLabel>("lbBegXYr");
    platform::TextField* const meBeg_Xr = Find<platform::TextField>("meBeg_Xr");
    platform::TextField* const meBeg_Yr = Find<platform::TextField>("meBeg_Yr");
    QLabel* const lbCnsEps = Find<QLabel>("lbCnsEps");
    platform::TextField* const meCnsEps = Find<platform::TextField>("meCnsEps");
    QLabel* const lbCnsHst = Find<QLabel>("lbCnsHst");
    platform::TextField* const meCnsHst = Find<platform::TextField>("meCnsHst");
    QLabel* const lbCnsUoo = Find<QLabel>("lbCnsUoo");
    platform::TextField* const meCnsUoo = Find<platform::TextField>("meCnsUoo");
    QLabel* const lbTimFrm = Find<QLabel>("lbTimFrm");
    platform::SpinEdit* const seTimFrm = Find<platform::SpinEdit>("seTimFrm");
    QGroupBox* const gbPrLeLi = Find<QGroupBox>("gbPrLeLi");
    QLabel* const lbStLeLi = Find<QLabel>("lbStLeLi");
    platform::TextField* const meStLeLi = Find<platform::TextField>("meStLeLi");
    QLabel* const lbWdLeLi = Find<QLabel>("lbWdLeLi");
    platform::TextField* const meWdLeLi = Find<platform::TextField>("meWdLeLi");
    QGroupBox* const gbColors = Find<QGroupBox>("gbColors");
    QLabel* const lbColors = Find<QLabel>("lbColors");
    platform::SpinEdit* const seDiNmCl = Find<platform::SpinEdit>("seDiNmCl");
    platform::SpinEdit* const seDiColR = Find<platform::SpinEdit>("seDiColR");
    platform::SpinEdit* const seDiColG = Find<platform::SpinEdit>("seDiColG");
    platform::SpinEdit* const seDiColB = Find<platform::SpinEdit>("seDiColB");
    platform::PaintBox* const pbDiClEx = Find<platform::PaintBox>("pbDiClEx");
    QLabel* const lbScoCol = Find<QLabel>("lbScoCol");
    platform::SpinEdit* const seScoGrd = Find<platform::SpinEdit>("seScoGrd");
    QCheckBox* const cbTrnpLL = Find<QCheckBox>("cbTrnpLL");
    QCheckBox* const cbStMark = Find<QCheckBox>("cbStMark");
    QGroupBox* const gbDrwPar = Find<QGroupBox>("gbDrwPar");
    QLabel* const lbSrXbe = Find<QLabel>("lbSrXbe");
    platform::TextField* const meSrXb = Find<platform::TextField>("meSrXb");
    platform::TextField* const meSrXe = Find<platform::TextField>("meSrXe");
    QLabel* const lbSrYbe = Find<QLabel>("lbSrYbe");
    platform::TextField* const meSrYb = Find<platform::TextField>("meSrYb");
    platform::TextField* const meSrYe = Find<platform::TextField>("meSrYe");
    QLabel* const lbSrXYc = Find<QLabel>("lbSrXYc");
    platform::TextField* const meSrXc = Find<platform::TextField>("meSrXc");
    platform::TextField* const meSrYc = Find<platform::TextField>("meSrYc");
    QLabel* const lbSrXYs = Find<QLabel>("lbSrXYs");
    platform::TextField* const meSrXs = Find<platform::TextField>("meSrXs");
    platform::TextField* const meSrYs = Find<platform::TextField>("meSrYs");
    QLabel* const lbSgXYs = Find<QLabel>("lbSgXYs");
    platform::TextField* const meSgXs = Find<platform::TextField>("meSgXs");
    platform::TextField* const meSgYs = Find<platform::TextField>("meSgYs");
    QLabel* const lbWkSzXY = Find<QLabel>("lbWkSzXY");
    platform::TextField* const meWkSzX = Find<platform::TextField>("meWkSzX");
    platform::TextField* const meWkSzY = Find<platform::TextField>("meWkSzY");
    QGroupBox* const gbWhatDr = Find<QGroupBox>("gbWhatDr");
    QCheckBox* const cbDrSmal = Find<QCheckBox>("cbDrSmal");
    QCheckBox* const cbDrAxis = Find<QCheckBox>("cbDrAxis");
    QCheckBox* const cbDrBig = Find<QCheckBox>("cbDrBig");
    QCheckBox* const cbDrNumb = Find<QCheckBox>("cbDrNumb");
    platform::PaintBox* const pbDrawAr = Find<platform::PaintBox>("pbDrawAr");
    QPlainTextEdit* const mmOtchet = Find<QPlainTextEdit>("mmOtchet");
    QFrame* const pnButton = Find<QFrame>("pnButton");
    platform::PaintBox* const pbColMap = Find<platform::PaintBox>("pbColMap");
    QPushButton* const bbDrMpCl = Find<QPushButton>("bbDrMpCl");
    QPushButton* const bbDrMpLL = Find<QPushButton>("bbDrMpLL");
    QPushButton* const bbDrGrid = Find<QPushButton>("bbDrGrid");
    QPushButton* const bbIterat = Find<QPushButton>("bbIterat");
    QPushButton* const bbStopIt = Find<QPushButton>("bbStopIt");
    QPushButton* const bbStepIt = Find<QPushButton>("bbStepIt");
    QAction* const mmdWkStep = Find<QAction>("mmdWkStep");
    QWidget* const tsLine = Find<QWidget>("tsLine");
    QSpinBox* const seLnIter = Find<QSpinBox>("seLnIter");
    QSpinBox* const seLnSrch = Find<QSpinBox>("seLnSrch");
    QLabel* const lbLnHead = Find<QLabel>("lbLnHead");
    platform::PlotChart* const chLine = Find<platform::PlotChart>("chLine");
    QTableWidget* const twLnStep = Find<QTableWidget>("twLnStep");
    QGroupBox* const gbTraceF = Find<QGroupBox>("gbTraceF");
    QLabel* const lbTraceX = Find<QLabel>("lbTraceX");
    QLabel* const lbTraceY = Find<QLabel>("lbTraceY");
    QLabel* const lbTraceZ = Find<QLabel>("lbTraceZ");
    QLabel* const imLorvin = Find<QLabel>("imLorvin");
    QStatusBar* const sbMessag = Find<QStatusBar>("sbMessag");
    QTimer* const tmTimer = Find<QTimer>("tmTimer");
    QWidget* const tsConstr = Find<QWidget>("tsConstr");
    QPlainTextEdit* const mmCnList = Find<QPlainTextEdit>("mmCnList");
    platform::TextField* const meCnR0 = Find<platform::TextField>("meCnR0");
    platform::TextField* const meCnGr = Find<platform::TextField>("meCnGr");
    platform::TextField* const meCnEps = Find<platform::TextField>("meCnEps");
    QCheckBox* const cbCnHatch = Find<QCheckBox>("cbCnHatch");
    QGroupBox* const gbLearn = Find<QGroupBox>("gbLearn");
    QLabel* const lbLrRate = Find<QLabel>("lbLrRate");
    QLabel* const lbLrMom = Find<QLabel>("lbLrMom");
    QLabel* const lbLrRho = Find<QLabel>("lbLrRho");
    QLabel* const lbLrB1 = Find<QLabel>("lbLrB1");
    QLabel* const lbLrB2 = Find<QLabel>("lbLrB2");
    QLabel* const lbLrNois = Find<QLabel>("lbLrNois");
    QLabel* const lbLrSeed = Find<QLabel>("lbLrSeed");
    platform::TextField* const meLrRate = Find<platform::TextField>("meLrRate");
    platform::TextField* const meLrMom = Find<platform::TextField>("meLrMom");
    platform::TextField* const meLrRho = Find<platform::TextField>("meLrRho");
    platform::TextField* const meLrB1 = Find<platform::TextField>("meLrB1");
    platform::TextField* const meLrB2 = Find<platform::TextField>("meLrB2");
    platform::TextField* const meLrNois = Find<platform::TextField>("meLrNois");
    platform::TextField* const meLrSeed = Find<platform::TextField>("meLrSeed");
    QCheckBox* const cbLrBias = Find<QCheckBox>("cbLrBias");
    QCheckBox* const cbLrVect = Find<QCheckBox>("cbLrVect");
    QLabel* const lbCnMeth = Find<QLabel>("lbCnMeth");
    const std::array<QAction*, 5> mmdWkCnMt = {
        Find<QAction>("mmdWkCnMt0"), Find<QAction>("mmdWkCnMt1"), Find<QAction>("mmdWkCnMt2"),
        Find<QAction>("mmdWkCnMt3"), Find<QAction>("mmdWkCnMt4")};
};

}  // namespace metopt::testsupport
