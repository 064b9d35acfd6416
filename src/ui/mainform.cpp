#include "ui/mainform.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "core/builtinfunctions.h"
#include "core/equationitems.h"
#include "core/methods/method.h"
#include "core/runreport.h"
#include "platform/dropdown.h"
#include "platform/eventguard.h"
#include "platform/memo.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/systemlocale.h"
#include "platform/textfield.h"
#include "render/grid.h"
#include "render/levellines.h"
#include "ui/artwork.h"
#include "ui/designcontrols.h"
#include "ui/textfit.h"

namespace metopt::ui {

TfmMnForm::TfmMnForm(QWidget* parent, std::string paletteFile)
    : QMainWindow(parent), paletteFile_(std::move(paletteFile)) {
    setObjectName(QStringLiteral("fmMnForm"));
    setWindowTitle(QString::fromUtf8(WindowTitle));
    setFont(DesignFont(8));
    platform::ApplySystemDecimalSeparator();

    CreateMenu();
    clientArea_ = new QWidget(this);
    setCentralWidget(clientArea_);
    clientArea_->installEventFilter(this);
    pcMnPage = Named(new platform::PageControl(clientArea_), "pcMnPage");
    CreateParamPage();
    CreateGfxParPage();
    CreateDrawPage();
    CreateReportPage();
    CreateConvergencePage();
    CreateLinePage();
    CreateConstraintPage();
    CreateSurfacePage();
    CreateButtonPanel();
    CreateStatusBar();
    tmTimer = Named(new QTimer(this), "tmTimer");
    tmRunProgress = Named(new QTimer(this), "tmRunProgress");
    tmRunProgress->setInterval(RunProgressIntervalMs);
    FitTextsToPlaces();
    ConnectHandlers();

    const QSize designSize = WindowSizeFor(DesignClientWidth, DesignPageControlHeight);
    setMinimumSize(designSize);
    resize(designSize);
    LayoutControls();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    platform::RunEvent([this] { FormCreate(); });
}

TfmMnForm::~TfmMnForm() = default;

void TfmMnForm::CreateMenu() {
    mmMnMenu = Named(new QMenuBar(this), "mmMnMenu");
    mmMnMenu->setNativeMenuBar(false);
    setMenuBar(mmMnMenu);
    mmuFile = Named(mmMnMenu->addMenu(QStringLiteral("Файл")), "mmuFile");
    CreateLabMenu();
    mmdFsvPic = Named(mmuFile->addAction(QStringLiteral("Сохранить рисунок…")), "mmdFsvPic");
    // Ctrl+S saves the lab, the document of the window.
    mmdFsvPic->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mmdFsvRep = Named(mmuFile->addAction(QStringLiteral("Сохранить отчет…")), "mmdFsvRep");
    mmdFsvAni = Named(mmuFile->addAction(QStringLiteral("Сохранить анимацию…")), "mmdFsvAni");
    mmdFsvAni->setToolTip(QStringLiteral(
        "Последний спуск как анимированный GIF. Рисунок, в котором больше 256 цветов "
        "(градиентная заливка с большим числом цветов), сводится к 256 цветам."));
    mmdFsvAni->setEnabled(false);  // until a descent has run
    mmdFsvCnv =
        Named(mmuFile->addAction(QStringLiteral("Сохранить график сходимости…")), "mmdFsvCnv");
    mmdFsvSrf = Named(mmuFile->addAction(QStringLiteral("Сохранить поверхность…")), "mmdFsvSrf");
    mmuFile->setToolTipsVisible(true);
    mmdFemp1 = Named(mmuFile->addSeparator(), "mmdFemp1");
    mmdFexit = Named(mmuFile->addAction(QStringLiteral("Выход")), "mmdFexit");
    mmuWork = Named(mmMnMenu->addMenu(QStringLiteral("Работа")), "mmuWork");
    CreateStopRuleMenu();
    CreateLineSearchMenu();
    CreateComparisonMenu();
    CreateViewMenu();
    CreateConstraintMenu();
    mmuHelp = Named(mmMnMenu->addMenu(QStringLiteral("Помощь")), "mmuHelp");
    mmdHabpr = Named(mmuHelp->addAction(QStringLiteral("О программе")), "mmdHabpr");
    mmdHemp1 = Named(mmuHelp->addSeparator(), "mmdHemp1");
    mmdHemp2 = Named(mmuHelp->addSeparator(), "mmdHemp2");
    mmdHabau = Named(mmuHelp->addAction(QStringLiteral("Об авторе")), "mmdHabau");
    // A menu shows a separator only between items; these two stand together as the layout has
    // them.
    mmuHelp->setSeparatorsCollapsible(false);
    mmuFile->setSeparatorsCollapsible(false);
}

// The stop rules: one checked at a time, the step rule at start.
void TfmMnForm::CreateStopRuleMenu() {
    mmuWkStop = Named(mmuWork->addMenu(QStringLiteral("Остановка")), "mmuWkStop");
    auto* rules = new QActionGroup(this);
    const char* const names[core::StopRuleCount] = {"mmdWkStSt", "mmdWkStGr", "mmdWkStFn"};
    QAction** const actions[core::StopRuleCount] = {&mmdWkStSt, &mmdWkStGr, &mmdWkStFn};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        *actions[i] =
            Named(mmuWkStop->addAction(QString::fromUtf8(core::StopRuleCaptions[i])), names[i]);
        (*actions[i])->setCheckable(true);
        rules->addAction(*actions[i]);
    }
    mmdWkStSt->setChecked(true);
}

// The one-dimensional methods: one checked at a time, the scan and golden section at start.
void TfmMnForm::CreateLineSearchMenu() {
    mmuWkLnSr = Named(mmuWork->addMenu(QStringLiteral("Одномерный поиск")), "mmuWkLnSr");
    auto* methods = new QActionGroup(this);
    for (std::size_t i = 0; i < mmdWkLnSr.size(); ++i) {
        const std::string name = "mmdWkLnSr" + std::to_string(i);
        mmdWkLnSr[i] = Named(mmuWkLnSr->addAction(QString::fromUtf8(core::LineSearchCaptions[i])),
                             name.c_str());
        mmdWkLnSr[i]->setCheckable(true);
        methods->addAction(mmdWkLnSr[i]);
    }
    mmdWkLnSr[0]->setChecked(true);
}

void TfmMnForm::CreateParamPage() {
    tsParam = Named(pcMnPage->AddPage(QStringLiteral("Параметры уравнения")), "tsParam");

    gbLstSet = MakeGroup(tsParam, "gbLstSet", " Списки выбора ", 0, 0, 448, 145, 8);
    // Deliberate: see docs/behaviour.md, "Label and button texts".
    lbEquat = MakeLabel(gbLstSet, "lbEquat", "Уранение вида  z=z(x,y)", 8, 22, 10);
    coEquat = MakeList(gbLstSet, "coEquat", core::EquationItems(), 184, 16);
    lbMetOpt = MakeLabel(gbLstSet, "lbMetOpt", "Метод оптимизации", 8, 54, 10);
    coMetOpt = MakeList(gbLstSet, "coMetOpt", core::MethodCaptions, 184, 48);
    for (int i = 0; i < core::MethodCount; ++i)
        coMetOpt->setItemData(i, QString::fromUtf8(core::MethodHints[i]), Qt::ToolTipRole);
    lbFill = MakeLabel(gbLstSet, "lbFill", "Метод отображения графика", 8, 88, 8);
    coFill = MakeList(gbLstSet, "coFill", FillItems, 184, 80);
    lbLevel = MakeLabel(gbLstSet, "lbLevel", "Метод построения линий уровня", 8, 120, 8);
    coLevel = MakeList(gbLstSet, "coLevel", LevelItems, 184, 112);
    // Until FormCreate selects the start items, the lists show no item.
    for (platform::DropDown* list : {coEquat, coMetOpt, coFill, coLevel}) {
        list->SetItemIndex(-1);
    }
    CreateStartGroup();
    CreateLevelLineGroup();
    CreateLearningGroup();
}

void TfmMnForm::CreateStartGroup() {
    gbBegPar = MakeGroup(tsParam, "gbBegPar", "Начальные параметры", 0, 153, 448, 168, 10);
    lbBegXYr = MakeLabel(
        gbBegPar, "lbBegXYr",
        "Начальное приближение:   x0 =                                    y0 =", 16, 24, 10);
    const core::DescentFields start;
    meBeg_Xr = MakeField(gbBegPar, "meBeg_Xr", start.x0, 224, 24, 81, 21);
    meBeg_Yr = MakeField(gbBegPar, "meBeg_Yr", start.y0, 352, 24, 81, 21);
    lbCnsEps =
        MakeLabel(gbBegPar, "lbCnsEps",
                  "Точность вычислений                                    eps =", 16, 56, 10);
    meCnsEps = MakeField(gbBegPar, "meCnsEps", start.eps, 304, 56, 129, 21);
    lbCnsHst =
        MakeLabel(gbBegPar, "lbCnsHst",
                  "Шаг сканирования                                      h_step =", 16, 80, 10);
    meCnsHst = MakeField(gbBegPar, "meCnsHst", start.step, 304, 80, 129, 21);
    lbCnsUoo = MakeLabel(gbBegPar, "lbCnsUoo",
                         "Радиус области определения                  Uoo =", 16, 104, 10);
    meCnsUoo = MakeField(gbBegPar, "meCnsUoo", start.radius, 304, 104, 129, 21);
    lbTimFrm = MakeLabel(gbBegPar, "lbTimFrm",
                         "Время показа одного кадра  (в миллисекундах)         t =", 16, 136, 10);
    seTimFrm = MakeSpin(gbBegPar, "seTimFrm", FrameTimeRange, 360, 136, 73, 22);
}

void TfmMnForm::CreateLevelLineGroup() {
    gbPrLeLi = MakeGroup(tsParam, "gbPrLeLi", " Параметры (пороговой) линии уровня  (по оси OZ) ",
                         0, 336, 448, 65, 10);
    lbStLeLi = MakeLabel(gbPrLeLi, "lbStLeLi", "Шаг", 16, 24, 10);
    const render::LevelLineOptions lines;
    meStLeLi = MakeField(gbPrLeLi, "meStLeLi", lines.stepText, 56, 24, 137, 21);
    lbWdLeLi = MakeLabel(gbPrLeLi, "lbWdLeLi", "Толщина", 224, 24, 10);
    meWdLeLi = MakeField(gbPrLeLi, "meWdLeLi", lines.widthText, 296, 24, 137, 21);
}

void TfmMnForm::CreateGfxParPage() {
    tsGfxPar = Named(pcMnPage->AddPage(QStringLiteral("Графические параметры")), "tsGfxPar");

    gbColors = MakeGroup(tsGfxPar, "gbColors", " Цвета ", 0, 8, 448, 121, 8);
    lbColors = MakeLabel(gbColors, "lbColors", "Цвет #                 палитры (RGB) :", 8, 26, 10);
    seDiNmCl = MakeSpin(gbColors, "seDiNmCl", PaletteIndexRange, 54, 24, 43, 22);
    seDiColR = MakeSpin(gbColors, "seDiColR", ComponentRange, 208, 24, 49, 22);
    seDiColG = MakeSpin(gbColors, "seDiColG", ComponentRange, 264, 24, 49, 22);
    seDiColB = MakeSpin(gbColors, "seDiColB", ComponentRange, 320, 24, 49, 22);
    pbDiClEx = Named(new platform::PaintBox(gbColors), "pbDiClEx");
    pbDiClEx->setGeometry(376, 22, 66, 59);
    lbScoCol =
        MakeLabel(gbColors, "lbScoCol", "Количество цветов при градиентной заливке", 8, 58, 10);
    seScoGrd = MakeSpin(gbColors, "seScoGrd", GradientColorsRange, 320, 56, 49, 22);
    cbTrnpLL = MakeCheck(gbColors, "cbTrnpLL", "Прозрачный фон линий уровня",
                         render::LevelLineOptions{}.transparent, 8, 88, 225, 17);
    cbTrnpLL->setFont(DesignFont(10));
    cbStMark = MakeCheck(gbColors, "cbStMark", "Показывать начальную точку",
                         app::TSettings{}.startMarker, 236, 88, 207, 17);
    cbStMark->setFont(DesignFont(10));
    CreateDrawingAreaGroup();
    CreateLayerGroup();
}

void TfmMnForm::CreateDrawingAreaGroup() {
    gbDrwPar = MakeGroup(tsGfxPar, "gbDrwPar", " Графическая область ", 0, 136, 448, 177, 10);
    // A field with its name and start text.
    struct Field {
        platform::TextField*& control;
        const char* name;
        std::string text;
    };
    struct Row {
        QLabel*& label;
        const char* labelName;
        const char* caption;
        Field left;
        Field right;
    };
    const render::GraphFieldTexts start;
    const Row rows[] = {
        {lbSrXbe,
         "lbSrXbe",
         "Диапазон оси абсцисс",
         {meSrXb, "meSrXb", start.Xb},
         {meSrXe, "meSrXe", start.Xe}},
        {lbSrYbe,
         "lbSrYbe",
         "Диапазон оси ординат",
         {meSrYb, "meSrYb", start.Yb},
         {meSrYe, "meSrYe", start.Ye}},
        {lbSrXYc,
         "lbSrXYc",
         "Центр системы координат",
         {meSrXc, "meSrXc", start.Xc},
         {meSrYc, "meSrYc", start.Yc}},
        {lbSrXYs,
         "lbSrXYs",
         "Шаг числовых значений",
         {meSrXs, "meSrXs", start.Xs},
         {meSrYs, "meSrYs", start.Ys}},
        {lbSgXYs,
         "lbSgXYs",
         "Количество сегментов подсетки",
         {meSgXs, "meSgXs", start.SgXs},
         {meSgYs, "meSgYs", start.SgYs}},
        {lbWkSzXY,
         "lbWkSzXY",
         "Размеры графической области",
         {meWkSzX, "meWkSzX", ""},
         {meWkSzY, "meWkSzY", ""}},
    };
    int top = 24;
    for (const Row& row : rows) {
        row.label = MakeLabel(gbDrwPar, row.labelName, row.caption, 16, top, 10);
        row.left.control = MakeField(gbDrwPar, row.left.name, row.left.text, 240, top, 89, 21);
        row.right.control = MakeField(gbDrwPar, row.right.name, row.right.text, 344, top, 89, 21);
        top += 24;
    }
    meWkSzX->setEnabled(false);
    meWkSzY->setEnabled(false);
}

void TfmMnForm::CreateLayerGroup() {
    gbWhatDr = MakeGroup(tsGfxPar, "gbWhatDr", " Объекты для прорисовки ", 0, 328, 448, 73, 10);
    const render::GridLayers layers;
    cbDrSmal = MakeCheck(gbWhatDr, "cbDrSmal", "Мелкая сетка", layers.small, 16, 24, 209, 17);
    cbDrAxis = MakeCheck(gbWhatDr, "cbDrAxis", "Оси координат", layers.axes, 240, 24, 193, 17);
    cbDrBig = MakeCheck(gbWhatDr, "cbDrBig", "Крупная сетка", layers.big, 16, 48, 209, 17);
    cbDrNumb =
        MakeCheck(gbWhatDr, "cbDrNumb", "Числовые значения", layers.numbers, 240, 48, 193, 17);
}

void TfmMnForm::CreateDrawPage() {
    tsDraw = Named(pcMnPage->AddPage(QStringLiteral("График")), "tsDraw");
    pbDrawAr = Named(new platform::PaintBox(tsDraw), "pbDrawAr");
    pbDrawAr->setGeometry(tsDraw->rect());
}

void TfmMnForm::CreateReportPage() {
    tsReport = Named(pcMnPage->AddPage(QStringLiteral("Отчет")), "tsReport");
    // A memo that refuses pastes and drops without text: the toolkit's own editor crashes on them.
    mmOtchet = Named(new platform::Memo(tsReport), "mmOtchet");
    mmOtchet->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mmOtchet->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    mmOtchet->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmOtchet->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The report is rewritten by every run: keeping an undo history of it would only grow.
    mmOtchet->setUndoRedoEnabled(false);
    CreateTaskLabel();
    PlaceReportPage();
}

void TfmMnForm::CreateButtonPanel() {
    pnButton = Named(new QFrame(clientArea_), "pnButton");
    pnButton->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnButton->setLineWidth(1);

    pbColMap = Named(new platform::PaintBox(pnButton), "pbColMap");
    pbColMap->setGeometry(4, 0, 177, 17);
    // Deliberate: see docs/behaviour.md, "Label and button texts".
    bbDrMpCl = MakeButton(pnButton, "bbDrMpCl", " Отобразить график          ", MapGlyph(), 8, 24,
                          169, 33);
    bbDrMpLL = MakeButton(pnButton, "bbDrMpLL", " Построить линии уровня ", LevelLinesGlyph(), 8,
                          64, 169, 33);
    bbDrGrid =
        MakeButton(pnButton, "bbDrGrid", " Натянуть сетку          ", QIcon(), 8, 104, 169, 33);
    bbIterat = MakeButton(pnButton, "bbIterat", "Начать итерации", DescentGlyph(), 8, 144, 121, 33);
    bbStopIt = MakeButton(pnButton, "bbStopIt", "Стоп", QIcon(), 136, 144, 41, 33);
    bbStepIt = MakeButton(pnButton, "bbStepIt", "По шагам", QIcon(), 8, 184, 169, 33);
    bbStepIt->setToolTip(QStringLiteral("Одна итерация выбранного метода (F8)"));

    gbTraceF = MakeGroup(pnButton, "gbTraceF", " Указатель мыши над: ", 8, 224, 169, 65, 8);
    lbTraceX = MakeReadout(gbTraceF, "lbTraceX", "x=", 16);
    lbTraceY = MakeReadout(gbTraceF, "lbTraceY", "y=", 32);
    lbTraceZ = MakeReadout(gbTraceF, "lbTraceZ", "z=", 48);

    imLorvin = Named(new QLabel(pnButton), "imLorvin");
    // Below the readout, scaled to the room left.
    imLorvin->setGeometry(40, 304, 104, 132);
    imLorvin->setPixmap(
        PanelPicture().scaled(104, 132, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TfmMnForm::CreateStatusBar() {
    sbMessag = Named(new QStatusBar(this), "sbMessag");
    sbMessag->setFixedHeight(StatusHeight);
    setStatusBar(sbMessag);
}

void TfmMnForm::FitTextsToPlaces() {
    // Labels padded with blanks hold fields in their gaps: the words around each gap must stay
    // clear of the field.
    FitAroundFields(lbBegXYr, {{"x0 =", nullptr, meBeg_Xr}, {"y0 =", meBeg_Xr, meBeg_Yr}});
    FitAroundFields(lbCnsEps, {{"eps =", nullptr, meCnsEps}});
    FitAroundFields(lbCnsHst, {{"h_step =", nullptr, meCnsHst}});
    FitAroundFields(lbCnsUoo, {{"Uoo =", nullptr, meCnsUoo}});
    FitAroundFields(lbTimFrm, {{"t =", nullptr, seTimFrm}});
    FitAroundFields(lbColors,
                    {{"Цвет #", nullptr, seDiNmCl}, {"палитры (RGB) :", seDiNmCl, seDiColR}});
    // The classic items are longer than the box: they scroll in it, as any long text does.
    FitListTexts(coEquat, core::FunctionCount);
    for (platform::DropDown* list : {coFill, coLevel}) {
        FitListTexts(list);
    }
    // The method names differ in length: the long ones are narrowed, the short ones keep their
    // letters.
    FitEachItemText(coMetOpt);
    for (platform::DropDown* list : {coEquat, coMetOpt, coFill, coLevel})
        OpenListShowsEveryItem(list);
}

void TfmMnForm::TimerTick() {
    // Deliberate: see docs/behaviour.md, "Timer failure".
    platform::RunEvent([this] {
        try {
            tmTimerTimer();
        } catch (...) {
            // One box, and the animation ends: the failing point would fail on every tick.
            tmTimer->stop();
            throw;
        }
    });
}

bool TfmMnForm::event(QEvent* event) {
    // Menu items would put their (empty) status tips into the status line; only ShowStatus
    // writes it.
    if (event->type() == QEvent::StatusTip) {
        return true;
    }
    return QMainWindow::event(event);
}

void TfmMnForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        platform::ApplySystemDecimalSeparator();
    }
    QMainWindow::changeEvent(event);
}

void TfmMnForm::closeEvent(QCloseEvent* event) {
    tmTimer->stop();
    EndWorkWithWindow();
    QMainWindow::closeEvent(event);
}

}  // namespace metopt::ui
