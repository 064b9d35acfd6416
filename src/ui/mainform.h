#pragma once
// The main window "Методы оптимизации": the parameter pages, the drawing area, the report, the
// command panel, and the handlers that tie them to the work. Its controls and handlers are its
// own; what others may do with it is what a user can (WindowCommands), and they see its model
// through a const view.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/descentrun.h"
#include "app/fieldtable.h"
#include "app/maprun.h"
#include "app/minimize1d.h"
#include "app/regionview.h"
#include "app/runworker.h"
#include "app/session.h"
#include "app/settings.h"
#include "app/surfacepicture.h"
#include "app/windowcommands.h"
#include "core/methods/method.h"
#include "core/minimize1d.h"
#include "palette/palette.h"
#include "platform/paintbox.h"
#include "render/drawcontext.h"
#include "render/fieldtexts.h"
#include "render/grid.h"
#include "render/levellines.h"
#include "render/progress.h"
#include "render/surfaceview.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QStatusBar;
class QTableWidget;
class QTimer;

namespace metopt::core {
struct DescentFields;
}

namespace metopt::platform {
class DropDown;
class PageControl;
class PaintBox;
class SurfaceBox;
class ConvergenceChart;
class PlotChart;
class Memo;
class SpinEdit;
class TextField;
}  // namespace metopt::platform

namespace metopt::ui {

class TfmMnForm;

// The window's title (a lab's title goes before it).
constexpr const char* WindowTitle = "Методы оптимизации";

// A run's progress is shown at most this often.
constexpr int RunProgressIntervalMs = 100;
// A map that takes longer than this goes on drawing while the window takes events.
constexpr int DefaultSynchronousMapTimeMs = 300;

// The window's status line and Stop flag as the long drawing passes see them.
class FormProgress final : public render::Progress {
  public:
    explicit FormProgress(TfmMnForm& form) : form_(form) {}
    void ShowStatus(const std::string& text) override;
    bool StopRequested() const override;

  private:
    TfmMnForm& form_;
};

class TfmMnForm : public QMainWindow, public app::WindowCommands {
  public:
    // Builds every control at its design place, lays the window out at the design size (the
    // drawing area 448 x 412) and runs FormCreate, which loads the palette from paletteFile.
    explicit TfmMnForm(QWidget* parent = nullptr,
                       std::string paletteFile = palette::PaletteFileName);
    ~TfmMnForm() override;

    // --- What a user can do (WindowCommands) ---
    void Press(Button button) override;
    void SetOptionFields(std::string_view option, const std::vector<std::string>& values) override;
    // Resizes the window so that the drawing area gets width x height pixels (also when the
    // window is not shown), running tsDrawResize when its size changes.
    void LayoutForDrawingArea(int width, int height) override;
    void TurnSurface(double azimuth, double elevation) override;
    void SizeSurfacePicture(int width, int height) override;
    void ChooseStopRule(core::TStopRule rule) override;
    void ChooseLineSearch(core::TLineSearch method) override;
    void ChooseConstraintMethod(core::TConstraintMethod method) override;
    void LimitSteps(std::uint32_t steps) override { stepLimit_ = steps; }
    void Compare(const std::vector<int>& methods) override;
    bool Animating() const override;
    // What each tick of tmTimer runs: tmTimerTimer under the guard. A failure disables the timer
    // before its box is shown, so the animation ends with one box.
    void TimerTick() override;
    std::int32_t FrameTime() const override;
    const app::TSession& Session() const override { return session_; }
    void AwaitRun(const std::function<bool(const std::string& progress)>& waiting) override;
    // Whether a run or a map computes on the worker thread now.
    bool Running() const { return runWorker_.Busy(); }
    std::vector<std::string> ReportLines() const override;
    void ApplyLab(const app::TLab& lab) override;
    app::TLab Lab() const override;
    // Opens a lab file as "Открыть работу…" does; a refused file raises, changing nothing.
    void OpenLabFile(const std::string& file);

    // The status line's one text; repainted at once (throttled), so progress shows in long loops.
    void ShowStatus(const std::string& text);
    std::string StatusText() const;

  protected:
    // How long a map may draw before the window takes events again (tests make it certain).
    void SetSynchronousMapTime(std::chrono::milliseconds time) { synchronousMapTime_ = time; }

    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Appends a line to the report; an empty text appends an empty line.
    void AddReportLine(const std::string& text);
    void ClearReport();

    // --- Handlers ---
    void FormCreate();
    void mmdFexitClick();
    void mmdFopLabClick();
    void mmdFsvLabClick();
    // The lab's title in the window's title and its task above an empty report.
    void ShowLabText(const std::string& title, const std::string& task);
    void RememberRecentLab(const std::string& file);
    void ShowRecentLabs();
    void mmdFsvPicClick();
    void mmdFsvRepClick();
    void mmdFsvAniClick();
    void mmdFsvCnvClick();
    void mmdFsvSrfClick();
    void mmdWkCmpRClick();
    // Shows the last run or comparison on the page "Сходимость": its chart and its table.
    void UpdateConvergencePage();
    // The page "Поверхность": repainted from the model, its mesh made again only for another
    // function or region; a drag turns it, the wheel zooms it, a double-click shows the first view.
    void UpdateSurfacePage();
    void DrawSurfacePage(platform::Canvas& canvas);
    void ShowSurfaceView(const render::TSurfaceView& view);
    void ReplaceReport(const std::vector<std::string>& lines);
    // The start of the animation (the whole trace at once for frame time 0).
    void StartTraceAnimation();
    // Starts work on the worker thread; `finish` shows its outcome once it has ended (FinishWork).
    void StartWork(app::TRunWorker::Job job, std::function<std::string()> progressText,
                   std::function<void(const app::TRunEnd&)> finish);
    // While the work goes on, the commands and fields that would start other work or change its
    // inputs are disabled, and the status line shows progressText() ten times a second.
    void WorkGoesOn();
    void GiveFocusBack();
    void FinishWork();
    void ShowRunProgress();
    void SetRunControlsEnabled(bool enabled);
    // Closing the window stops the work and waits for it; nothing of it is shown.
    void EndWorkWithWindow();
    // A run or a comparison on the worker thread. Its end shows the report, the chart and the
    // animation, or the error it raised, or, stopped, the status "Расчет остановлен на итерации
    // k" with the model, report and picture as before it.
    using RunFinish = void (TfmMnForm::*)(app::TDescentRun& run, const app::TRunEnd& end);
    void StartRun(std::shared_ptr<app::TDescentRun> run, RunFinish finish = &TfmMnForm::FinishRun);
    void FinishRun(app::TDescentRun& run, const app::TRunEnd& end);
    // A completed run's report, convergence chart, line searches and animation.
    void ShowCompletedRun(const app::TDescentRun& run);
    // "По шагам": one iteration further (from iteration 1 when the fields changed), on the
    // worker thread. Its end draws the path so far, the arrow and ticks of the iteration's line
    // search, the status line's k, x, y, z and step, and that search on the page "Одномерный
    // поиск"; a run that ended before the press's limit ends as "Начать итерации" does.
    void mmdWkStepClick();
    void FinishStep(app::TDescentRun& run, const app::TRunEnd& end);
    // The page "Одномерный поиск": the last run's line search of the iteration and search its
    // spin boxes choose; ShowLineSearches first sets them to the run's last iteration.
    void ShowLineSearches();
    void UpdateLinePage();
    // "Своя функция одной переменной" on that page: "Минимизировать" runs each checked method
    // over [a, b] to eps and shows the function with their trial points, their counts of values
    // against eps and each one's steps.
    QWidget* CreateLab1D(QWidget* parent);
    void bbLbRunClick();
    void ShowLab1DSteps();
    // A map or its level lines: drawn on the worker thread, and finished at once when that takes
    // less than synchronousMapTime_, so that a quick one is shown before any other event.
    // Stopped, the status says so and the model and the picture are as before it.
    void DrawMap(app::MapPass pass);
    void FinishMap(app::TMapRun& run, const std::string& status, const app::TRunEnd& end);
    void bbDrMpClClick();
    void bbDrMpLLClick();
    void bbDrGridClick();
    void bbStopItClick();
    void bbIteratClick();
    void tmTimerTimer();
    void pbColMapPaint();
    void pbDrawArPaint();
    void pbDrawArMouseMove(int x, int y);
    // A click on the picture after a map: the start point there, as if typed, with its ring when
    // the start is shown.
    void pbDrawArLeftClick(int x, int y);
    void DrawOverlays();
    // The map under the mouse: the wheel's notches zoom about the pointer, a drag moves the
    // picture with it and, released, the region.
    void pbDrawArWheel(int x, int y, int notches);
    void pbDrawArDrag(int dx, int dy);
    void pbDrawArDragEnd(int dx, int dy);
    void mmdWkFitRClick();
    void mmdWkBckRClick();
    // A new view of the region into its fields as if typed (the one before it kept to go back to
    // when `remember`), and the picture drawn again; none changes nothing.
    void ChangeView(const std::optional<app::TRegionFields>& view, bool remember);
    // What the picture showed drawn again over the region of the fields: its map, level lines,
    // grid and trace, in turn, each as its command draws it.
    void RedrawPicture();
    // The next steps of the redraw, until one goes on on the worker thread (its end continues).
    void ContinueRedraw();
    // What a drawing command does first: the clicked start's ring and a step's arrow leave the
    // picture.
    void ForgetOverlays();
    void tsDrawResize();
    void coEquatChange();
    // Enter in the equation list's text, or leaving it: its formula is compiled.
    void coEquatExit();
    // The change handler of the twelve fields of " Графическая область " (meSrXb ... meWkSzY):
    // their change makes the sampled value range stale.
    void gbDrwParFieldChange();
    void seDiNmClChange();
    void seDiColRChange();
    void seDiColGChange();
    void seDiColBChange();
    void pbDiClExPaint();

    // Every field and choice as the window shows them.
    app::TSettings Settings() const;
    core::TStopRule StopRule() const;
    core::TLineSearch LineSearchMethod() const;
    core::TConstraintMethod ConstraintMethodChoice() const;
    render::GraphFieldTexts GraphFields() const;
    // The controls of the settings the field table names.
    platform::TextField* ControlOf(app::TextSetting setting) const;
    platform::SpinEdit* ControlOf(app::SpinSetting setting) const;
    platform::DropDown* ControlOf(app::ListSetting setting) const;
    QCheckBox* ControlOf(app::CheckSetting setting) const;

    // The model: owned here, handed to the routines that use it.
    app::TSession session_;
    // The worker thread, the progress text and the end of the work it computes.
    app::TRunWorker runWorker_;
    std::function<std::string()> workProgress_;
    std::function<void(const app::TRunEnd&)> finishWork_;
    // Counts the work started, so that the queued end of one is never taken for another's.
    std::uint64_t runNumber_ = 0;
    QString statusBeforeRun_;
    bool runProgressShown_ = false;
    std::unique_ptr<platform::PaintBox::DrawingScope> runDrawing_;
    QSize runAreaSize_;
    bool drawingMap_ = false;
    QPointer<QWidget> focusBeforeWork_;
    QPointer<QWidget> focusDuringWork_;
    std::chrono::milliseconds synchronousMapTime_{DefaultSynchronousMapTimeMs};
    // What the page "Поверхность" keeps between its repaints.
    app::TSurfaceCache surface_;

    // --- Controls ---
    QMenuBar* mmMnMenu;
    QMenu* mmuFile;
    QAction* mmdFopLab;
    QAction* mmdFsvLab;
    QMenu* mmuFrecnt;
    QAction* mmdFemp0;
    QAction* mmdFsvPic;
    QAction* mmdFsvRep;
    QAction* mmdFsvAni;
    QAction* mmdFemp1;
    QAction* mmdFexit;
    QMenu* mmuWork;
    QMenu* mmuWkStop;
    QAction* mmdWkStSt;
    QAction* mmdWkStGr;
    QAction* mmdWkStFn;
    QMenu* mmuWkCmpS;
    QMenu* mmuWkLnSr;
    std::array<QAction*, core::LineSearchCount> mmdWkLnSr{};
    std::array<QAction*, core::MethodCount> mmdWkCmp{};
    QAction* mmdWkCmpR;
    QAction* mmdWkFitR;
    QAction* mmdWkBckR;
    QAction* mmdWkStep;
    QAction* mmdFsvCnv;
    QAction* mmdFsvSrf;
    QMenu* mmuHelp;
    QAction* mmdHabpr;
    QAction* mmdHemp1;
    QAction* mmdHemp2;
    QAction* mmdHabau;

    platform::PageControl* pcMnPage;
    QWidget* tsParam;
    QWidget* tsGfxPar;
    QWidget* tsDraw;
    QWidget* tsReport;
    QWidget* tsConv;
    platform::DropDown* coConvKind;
    platform::ConvergenceChart* chConv;
    QTableWidget* twCompare;
    QWidget* tsLine;
    QWidget* tsSurf;
    platform::SurfaceBox* sbSurf;
    QWidget* tsConstr;
    QLabel* lbCnHint;
    platform::Memo* mmCnList;
    QLabel* lbCnMeth = nullptr;
    platform::TextField* meCnR0;
    platform::TextField* meCnGr;
    platform::TextField* meCnEps;
    QCheckBox* cbCnHatch;
    QGroupBox* gbLearn;
    QLabel* lbLrRate;
    platform::TextField* meLrRate;
    QLabel* lbLrMom;
    platform::TextField* meLrMom;
    QLabel* lbLrRho;
    platform::TextField* meLrRho;
    QLabel* lbLrB1;
    platform::TextField* meLrB1;
    QLabel* lbLrB2;
    platform::TextField* meLrB2;
    QLabel* lbLrNois;
    platform::TextField* meLrNois;
    QLabel* lbLrSeed;
    platform::TextField* meLrSeed;
    QCheckBox* cbLrBias;
    QCheckBox* cbLrVect;
    QMenu* mmuWkCnst;
    std::array<QAction*, core::ConstraintMethodCount> mmdWkCnMt{};
    QSpinBox* seLnIter;
    QSpinBox* seLnSrch;
    QLabel* lbLnHead;
    platform::PlotChart* chLine;
    QTableWidget* twLnStep;
    platform::DropDown* coLnView;
    QStackedWidget* skLnView;
    platform::TextField* meLbFunc;
    platform::TextField* meLbA;
    platform::TextField* meLbB;
    platform::TextField* meLbEps;
    std::array<QCheckBox*, core::IntervalMethodCount> cbLbMeth{};
    QPushButton* bbLbRun;
    QTabWidget* tcLbView;
    platform::PlotChart* chLbFunc;
    platform::PlotChart* chLbCnt;
    platform::DropDown* coLbMeth;
    QLabel* lbLbRes;
    QTableWidget* twLbStep;
    // The one-dimensional lab run last.
    std::optional<app::TMinimize1D> lab1D_;

    QGroupBox* gbLstSet;
    QLabel* lbEquat;
    platform::DropDown* coEquat;
    QLabel* lbMetOpt;
    platform::DropDown* coMetOpt;
    QLabel* lbFill;
    platform::DropDown* coFill;
    QLabel* lbLevel;
    platform::DropDown* coLevel;

    QGroupBox* gbBegPar;
    QLabel* lbBegXYr;
    platform::TextField* meBeg_Xr;
    platform::TextField* meBeg_Yr;
    QLabel* lbCnsEps;
    platform::TextField* meCnsEps;
    QLabel* lbCnsHst;
    platform::TextField* meCnsHst;
    QLabel* lbCnsUoo;
    platform::TextField* meCnsUoo;
    QLabel* lbTimFrm;
    platform::SpinEdit* seTimFrm;

    QGroupBox* gbPrLeLi;
    QLabel* lbStLeLi;
    platform::TextField* meStLeLi;
    QLabel* lbWdLeLi;
    platform::TextField* meWdLeLi;

    QGroupBox* gbColors;
    QLabel* lbColors;
    platform::SpinEdit* seDiNmCl;
    platform::SpinEdit* seDiColR;
    platform::SpinEdit* seDiColG;
    platform::SpinEdit* seDiColB;
    platform::PaintBox* pbDiClEx;
    QLabel* lbScoCol;
    platform::SpinEdit* seScoGrd;
    QCheckBox* cbTrnpLL;
    QCheckBox* cbStMark;

    QGroupBox* gbDrwPar;
    QLabel* lbSrXbe;
    platform::TextField* meSrXb;
    platform::TextField* meSrXe;
    QLabel* lbSrYbe;
    platform::TextField* meSrYb;
    platform::TextField* meSrYe;
    QLabel* lbSrXYc;
    platform::TextField* meSrXc;
    platform::TextField* meSrYc;
    QLabel* lbSrXYs;
    platform::TextField* meSrXs;
    platform::TextField* meSrYs;
    QLabel* lbSgXYs;
    platform::TextField* meSgXs;
    platform::TextField* meSgYs;
    QLabel* lbWkSzXY;
    platform::TextField* meWkSzX;
    platform::TextField* meWkSzY;

    QGroupBox* gbWhatDr;
    QCheckBox* cbDrSmal;
    QCheckBox* cbDrAxis;
    QCheckBox* cbDrBig;
    QCheckBox* cbDrNumb;

    platform::PaintBox* pbDrawAr;
    QPlainTextEdit* mmOtchet;
    QLabel* lbLabTsk;

    QFrame* pnButton;
    platform::PaintBox* pbColMap;
    QPushButton* bbDrMpCl;
    QPushButton* bbDrMpLL;
    QPushButton* bbDrGrid;
    QPushButton* bbIterat;
    QPushButton* bbStopIt;
    QPushButton* bbStepIt;
    QGroupBox* gbTraceF;
    QLabel* lbTraceX;
    QLabel* lbTraceY;
    QLabel* lbTraceZ;
    QLabel* imLorvin;

    QStatusBar* sbMessag;
    QTimer* tmTimer;
    // The progress of a run on the worker thread, ten times a second.
    QTimer* tmRunProgress;

    void CreateMenu();
    void CreateLabMenu();
    void CreateTaskLabel();
    // The task (when there is one) above the report.
    void PlaceReportPage();
    void CreateStopRuleMenu();
    void CreateLineSearchMenu();
    void CreateParamPage();
    void CreateStartGroup();
    void CreateLevelLineGroup();
    void CreateLearningGroup();
    // The group of the methods of machine learning in the place of the level lines' group while
    // one of them is chosen or the noise is on; its fields of those methods enabled with them.
    void ShowLearningGroup();
    void CreateGfxParPage();
    void CreateDrawingAreaGroup();
    void CreateLayerGroup();
    void CreateDrawPage();
    void CreateReportPage();
    void CreateConvergencePage();
    void CreateLinePage();
    void CreateStepCommand();
    void CreateConstraintPage();
    void CreateSurfacePage();
    void CreateConstraintMenu();
    void CreateComparisonMenu();
    void CreateViewMenu();
    void CreateButtonPanel();
    void CreateStatusBar();
    void FitTextsToPlaces();
    void ConnectHandlers();
    void ConnectMenuHandlers();
    void ConnectFieldHandlers();
    void ConnectPaintHandlers();

    // Places the page control, the panel and the pages for the window's current size.
    void LayoutControls();
    void PlaceClientControls();
    // Window size for a given page-control height and client width.
    QSize WindowSizeFor(int clientWidth, int pageControlHeight) const;

    // The colour editor's entry index, or none while the index field holds a number outside the
    // table.
    std::optional<std::size_t> EditedEntry() const;
    // One component spin edit changed: store it into the edited entry and repaint the sample.
    void StoreComponent(int component, const platform::SpinEdit* edit);

    class DrawingCommand;

    // Timer control with the rules of a one-timer platform: the same interval or state again
    // changes nothing; a refused timer raises "Not enough timers available".
    void SetTimerInterval(int milliseconds);
    void SetTimerEnabled(bool enabled);

    // Asks where to save (starting in the folder used last, with defaultName) and writes there.
    void SaveWithDialog(const char* caption, const char* defaultName, const char* filter,
                        const std::function<void(const std::string&)>& write);

    // The pixel of the start clicked last, while its ring is shown.
    std::optional<QPoint> clickedStart_;
    // The line search of the iteration stepped last, while its arrow is shown.
    std::optional<core::TLineSearchRecord> stepMarks_;
    // The runs' iteration limit set by LimitSteps.
    std::uint32_t stepLimit_ = 0;
    // The regions left by the mouse and the menu, and the redraw under way.
    app::TRegionHistory regionHistory_;
    std::vector<std::function<void()>> redrawSteps_;
    bool continuingRedraw_ = false;
    std::string paletteFile_;
    std::string labTitle_;
    std::string labTask_;
    QString lastSaveFolder_;
    QWidget* clientArea_;
    bool reportEmpty_ = true;
    QElapsedTimer sinceStatusRepaint_;
    FormProgress progress_{*this};
};

}  // namespace metopt::ui
