#include "ui/mainform.h"

#include <QAction>
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

#include "core/functions.h"
#include "core/report.h"
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
#include "ui/windowfields.h"

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

TfmMnForm::TfmMnForm(QWidget* parent, std::string paletteFile)
    : QMainWindow(parent), paletteFile_(std::move(paletteFile)) {
    setObjectName(QStringLiteral("fmMnForm"));
    setWindowTitle(QStringLiteral("Методы оптимизации"));
    setFont(DesignFont(8));
    platform::ApplySystemDecimalSeparator();

    CreateMenu();
    clientArea_ = new QWidget(this);
    setCentralWidget(clientArea_);
    clientArea_->installEventFilter(this);
    pcMnPage = new platform::PageControl(clientArea_);
    CreateParamPage();
    CreateGfxParPage();
    CreateDrawPage();
    CreateReportPage();
    CreateButtonPanel();
    CreateStatusBar();
    tmTimer = new QTimer(this);
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
    mmMnMenu = new QMenuBar(this);
    mmMnMenu->setNativeMenuBar(false);
    setMenuBar(mmMnMenu);
    mmuFile = mmMnMenu->addMenu(QStringLiteral("Файл"));
    mmdFsvPic = mmuFile->addAction(QStringLiteral("Сохранить рисунок…"));
    mmdFsvPic->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mmdFsvRep = mmuFile->addAction(QStringLiteral("Сохранить отчет…"));
    mmdFsvAni = mmuFile->addAction(QStringLiteral("Сохранить анимацию…"));
    mmdFsvAni->setToolTip(QStringLiteral(
        "Последний спуск как анимированный GIF. Рисунок, в котором больше 256 цветов "
        "(градиентная заливка с большим числом цветов), сводится к 256 цветам."));
    mmdFsvAni->setEnabled(false);  // until a descent has run
    mmuFile->setToolTipsVisible(true);
    mmdFemp1 = mmuFile->addSeparator();
    mmdFexit = mmuFile->addAction(QStringLiteral("Выход"));
    // Deliberate: see docs/behaviour.md, "Idle controls".
    mmuWork = mmMnMenu->addMenu(QStringLiteral("Работа"));
    mmuHelp = mmMnMenu->addMenu(QStringLiteral("Помощь"));
    mmdHabpr = mmuHelp->addAction(QStringLiteral("О программе"));
    mmdHemp1 = mmuHelp->addSeparator();
    mmdHemp2 = mmuHelp->addSeparator();
    mmdHabau = mmuHelp->addAction(QStringLiteral("Об авторе"));
    // A menu shows a separator only between items; these two stand together as the layout has
    // them.
    mmuHelp->setSeparatorsCollapsible(false);
    mmuFile->setSeparatorsCollapsible(false);
}

void TfmMnForm::CreateParamPage() {
    tsParam = pcMnPage->AddPage(QStringLiteral("Параметры уравнения"));

    gbLstSet = MakeGroup(tsParam, " Списки выбора ", 0, 0, 448, 145, 8);
    // Deliberate: see docs/behaviour.md, "Label and button texts".
    lbEquat = MakeLabel(gbLstSet, "Уранение вида  z=z(x,y)", 8, 22, 10);
    coEquat = MakeList(gbLstSet, {}, 184, 16);
    for (const char* caption : core::FunctionCaptions) {
        coEquat->AddItem(caption);
    }
    lbMetOpt = MakeLabel(gbLstSet, "Метод оптимизации", 8, 54, 10);
    coMetOpt = MakeList(gbLstSet, {"Скорейший спуск (градиентный метод)"}, 184, 48);
    lbFill = MakeLabel(gbLstSet, "Метод отображения графика", 8, 88, 8);
    coFill = MakeList(gbLstSet, {"Дискретная карта (10 цветов)", "Градиентная заливка "}, 184, 80);
    lbLevel = MakeLabel(gbLstSet, "Метод построения линий уровня", 8, 120, 8);
    coLevel = MakeList(gbLstSet, {"Аназиз карты высот", "Пороговый, с заданным шагом"}, 184, 112);
    // Until FormCreate selects the start items, the lists show no item.
    for (platform::DropDown* list : {coEquat, coMetOpt, coFill, coLevel}) {
        list->SetItemIndex(-1);
    }
    CreateStartGroup();
    CreateLevelLineGroup();
}

void TfmMnForm::CreateStartGroup() {
    gbBegPar = MakeGroup(tsParam, "Начальные параметры", 0, 153, 448, 168, 10);
    lbBegXYr = MakeLabel(
        gbBegPar, "Начальное приближение:   x0 =                                    y0 =", 16, 24,
        10);
    const core::DescentFields start;
    meBeg_Xr = MakeField(gbBegPar, start.x0, 224, 24, 81, 21);
    meBeg_Yr = MakeField(gbBegPar, start.y0, 352, 24, 81, 21);
    lbCnsEps = MakeLabel(
        gbBegPar, "Точность вычислений                                    eps =", 16, 56, 10);
    meCnsEps = MakeField(gbBegPar, start.eps, 304, 56, 129, 21);
    lbCnsHst = MakeLabel(
        gbBegPar, "Шаг сканирования                                      h_step =", 16, 80, 10);
    meCnsHst = MakeField(gbBegPar, start.step, 304, 80, 129, 21);
    lbCnsUoo =
        MakeLabel(gbBegPar, "Радиус области определения                  Uoo =", 16, 104, 10);
    meCnsUoo = MakeField(gbBegPar, start.radius, 304, 104, 129, 21);
    lbTimFrm = MakeLabel(gbBegPar, "Время показа одного кадра  (в миллисекундах)         t =", 16,
                         136, 10);
    seTimFrm = MakeSpin(gbBegPar, 0, 10000, 100, 360, 136, 73, 22);
}

void TfmMnForm::CreateLevelLineGroup() {
    gbPrLeLi = MakeGroup(tsParam, " Параметры (пороговой) линии уровня  (по оси OZ) ", 0, 336, 448,
                         65, 10);
    lbStLeLi = MakeLabel(gbPrLeLi, "Шаг", 16, 24, 10);
    const render::LevelLineOptions lines;
    meStLeLi = MakeField(gbPrLeLi, lines.stepText, 56, 24, 137, 21);
    lbWdLeLi = MakeLabel(gbPrLeLi, "Толщина", 224, 24, 10);
    meWdLeLi = MakeField(gbPrLeLi, lines.widthText, 296, 24, 137, 21);
}

void TfmMnForm::CreateGfxParPage() {
    tsGfxPar = pcMnPage->AddPage(QStringLiteral("Графические параметры"));

    gbColors = MakeGroup(tsGfxPar, " Цвета ", 0, 8, 448, 121, 8);
    lbColors = MakeLabel(gbColors, "Цвет #                 палитры (RGB) :", 8, 26, 10);
    seDiNmCl = MakeSpin(gbColors, 0, 21, 2, 54, 24, 43, 22);
    seDiColR = MakeSpin(gbColors, 0, 255, 0, 208, 24, 49, 22);
    seDiColG = MakeSpin(gbColors, 0, 255, 0, 264, 24, 49, 22);
    seDiColB = MakeSpin(gbColors, 0, 255, 0, 320, 24, 49, 22);
    pbDiClEx = new platform::PaintBox(gbColors);
    pbDiClEx->setGeometry(376, 22, 66, 59);
    lbScoCol = MakeLabel(gbColors, "Количество цветов при градиентной заливке", 8, 58, 10);
    seScoGrd = MakeSpin(gbColors, 2, 255, 30, 320, 56, 49, 22);
    cbTrnpLL = MakeCheck(gbColors, "Прозрачный фон линий уровня",
                         render::LevelLineOptions{}.transparent, 8, 88, 433, 17);
    cbTrnpLL->setFont(DesignFont(10));
    CreateDrawingAreaGroup();
    CreateLayerGroup();
}

void TfmMnForm::CreateDrawingAreaGroup() {
    gbDrwPar = MakeGroup(tsGfxPar, " Графическая область ", 0, 136, 448, 177, 10);
    struct Row {
        QLabel*& label;
        const char* caption;
        platform::TextField*& left;
        std::string leftText;
        platform::TextField*& right;
        std::string rightText;
    };
    const render::GraphFieldTexts start;
    const Row rows[] = {
        {lbSrXbe, "Диапазон оси абсцисс", meSrXb, start.Xb, meSrXe, start.Xe},
        {lbSrYbe, "Диапазон оси ординат", meSrYb, start.Yb, meSrYe, start.Ye},
        {lbSrXYc, "Центр системы координат", meSrXc, start.Xc, meSrYc, start.Yc},
        {lbSrXYs, "Шаг числовых значений", meSrXs, start.Xs, meSrYs, start.Ys},
        {lbSgXYs, "Количество сегментов подсетки", meSgXs, start.SgXs, meSgYs, start.SgYs},
        {lbWkSzXY, "Размеры графической области", meWkSzX, "", meWkSzY, ""},
    };
    int top = 24;
    for (const Row& row : rows) {
        row.label = MakeLabel(gbDrwPar, row.caption, 16, top, 10);
        row.left = MakeField(gbDrwPar, row.leftText, 240, top, 89, 21);
        row.right = MakeField(gbDrwPar, row.rightText, 344, top, 89, 21);
        top += 24;
    }
    meWkSzX->setEnabled(false);
    meWkSzY->setEnabled(false);
}

void TfmMnForm::CreateLayerGroup() {
    gbWhatDr = MakeGroup(tsGfxPar, " Объекты для прорисовки ", 0, 328, 448, 73, 10);
    const render::GridLayers layers;
    cbDrSmal = MakeCheck(gbWhatDr, "Мелкая сетка", layers.small, 16, 24, 209, 17);
    cbDrAxis = MakeCheck(gbWhatDr, "Оси координат", layers.axes, 240, 24, 193, 17);
    cbDrBig = MakeCheck(gbWhatDr, "Крупная сетка", layers.big, 16, 48, 209, 17);
    cbDrNumb = MakeCheck(gbWhatDr, "Числовые значения", layers.numbers, 240, 48, 193, 17);
}

void TfmMnForm::CreateDrawPage() {
    tsDraw = pcMnPage->AddPage(QStringLiteral("График"));
    pbDrawAr = new platform::PaintBox(tsDraw);
    pbDrawAr->setGeometry(tsDraw->rect());
}

void TfmMnForm::CreateReportPage() {
    tsReport = pcMnPage->AddPage(QStringLiteral("Отчет"));
    // A memo that refuses pastes and drops without text: the toolkit's own editor crashes on them.
    mmOtchet = new platform::Memo(tsReport);
    mmOtchet->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mmOtchet->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    mmOtchet->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmOtchet->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The report is rewritten by every run: keeping an undo history of it would only grow.
    mmOtchet->setUndoRedoEnabled(false);
    mmOtchet->setGeometry(tsReport->rect());
}

void TfmMnForm::CreateButtonPanel() {
    pnButton = new QFrame(clientArea_);
    pnButton->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnButton->setLineWidth(1);

    pbColMap = new platform::PaintBox(pnButton);
    pbColMap->setGeometry(4, 0, 177, 17);
    // Deliberate: see docs/behaviour.md, "Label and button texts".
    bbDrMpCl = MakeButton(pnButton, " Отобразить график          ", MapGlyph(), 8, 24, 169, 33);
    bbDrMpLL = MakeButton(pnButton, " Построить линии уровня ", LevelLinesGlyph(), 8, 64, 169, 33);
    bbDrGrid = MakeButton(pnButton, " Натянуть сетку          ", QIcon(), 8, 104, 169, 33);
    bbIterat = MakeButton(pnButton, "Начать итерации", DescentGlyph(), 8, 144, 121, 33);
    bbStopIt = MakeButton(pnButton, "Стоп", QIcon(), 136, 144, 41, 33);

    gbTraceF = MakeGroup(pnButton, " Указатель мыши над: ", 8, 184, 169, 65, 8);
    lbTraceX = MakeReadout(gbTraceF, "x=", 16);
    lbTraceY = MakeReadout(gbTraceF, "y=", 32);
    lbTraceZ = MakeReadout(gbTraceF, "z=", 48);

    imLorvin = new QLabel(pnButton);
    imLorvin->setGeometry(24, 264, 136, 172);
    imLorvin->setPixmap(PanelPicture());
}

void TfmMnForm::CreateStatusBar() {
    sbMessag = new QStatusBar(this);
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
    for (platform::DropDown* list : {coEquat, coMetOpt, coFill, coLevel}) {
        FitListTexts(list);
    }
}

void TfmMnForm::ConnectHandlers() {
    ConnectGuarded(*this, bbDrMpCl, &QPushButton::clicked, &TfmMnForm::bbDrMpClClick);
    ConnectGuarded(*this, bbDrMpLL, &QPushButton::clicked, &TfmMnForm::bbDrMpLLClick);
    ConnectGuarded(*this, bbDrGrid, &QPushButton::clicked, &TfmMnForm::bbDrGridClick);
    ConnectGuarded(*this, bbIterat, &QPushButton::clicked, &TfmMnForm::bbIteratClick);
    ConnectGuarded(*this, bbStopIt, &QPushButton::clicked, &TfmMnForm::bbStopItClick);
    connect(tmTimer, &QTimer::timeout, this, [this] { TimerTick(); });

    ConnectMenuHandlers();
    ConnectFieldHandlers();
    ConnectPaintHandlers();
}

void TfmMnForm::ConnectMenuHandlers() {
    ConnectGuarded(*this, mmdFsvPic, &QAction::triggered, &TfmMnForm::mmdFsvPicClick);
    ConnectGuarded(*this, mmdFsvRep, &QAction::triggered, &TfmMnForm::mmdFsvRepClick);
    ConnectGuarded(*this, mmdFsvAni, &QAction::triggered, &TfmMnForm::mmdFsvAniClick);
    ConnectGuarded(*this, mmdFexit, &QAction::triggered, &TfmMnForm::mmdFexitClick);
}

void TfmMnForm::ConnectFieldHandlers() {
    coEquat->OnChange = [this] { coEquatChange(); };
    for (const WindowField& row : WindowFields()) {
        if (row.invalidatesRange) {
            platform::TextField* field = this->*std::get<TextFieldMember>(row.control);
            field->OnChange = [this] { gbDrwParFieldChange(); };
        }
    }
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
    pcMnPage->OnPageResize = [this](QWidget* page) {
        if (page == tsDraw) {
            pbDrawAr->setGeometry(tsDraw->rect());
            platform::RunEvent([this] { tsDrawResize(); });
        } else if (page == tsReport) {
            mmOtchet->setGeometry(tsReport->rect());
        }
    };
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
    QMainWindow::closeEvent(event);
}

}  // namespace metopt::ui
