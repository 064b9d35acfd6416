// The main window driven as a user drives it: its start state and layout, the five commands, the
// animation and its Stop rules, invalidation, the report, the colour editor and the error boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/functions.h"
#include "core/minimizer.h"
#include "palette/palette.h"
#include "platform/dropdown.h"
#include "platform/messagebox.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/systemlocale.h"
#include "platform/textfield.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/trace.h"
#include "render/valuescan.h"
#include "runtime/errorreport.h"
#include "runtime/fpu.h"
#include "runtime/numformat.h"
#include "support/qt_environment.h"
#include "ui/mainform.h"
#include "ui/textfit.h"
#include "ui/windowfields.h"

namespace metopt::ui {
namespace {

// A palette whose 22 entries all differ: entry i is (10i + 5, 3i + 40, 250 - 7i).
std::int32_t R(int i) {
    return 10 * i + 5;
}
std::int32_t G(int i) {
    return 3 * i + 40;
}
std::int32_t B(int i) {
    return 250 - 7 * i;
}
std::int32_t Colour(int i) {
    return R(i) + G(i) * 256 + B(i) * 65536;
}

void WriteKnownPalette(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < palette::PaletteSize; ++i) {
        file.write(QString("%1 %2 %3\r\n").arg(R(i)).arg(G(i)).arg(B(i)).toLatin1());
    }
}

// Each test runs in a folder of its own holding the palette file, with every module at its start
// state; an error box that the test does not expect fails it.
class MainFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
        runtime::SetDecimalSeparator('.');
        platform::SetErrorBoxHandler(
            [this](const std::string&, const std::string& text) { boxes_.push_back(text); });
    }

    void TearDown() override {
        form.reset();
        platform::SetErrorBoxHandler(nullptr);
        runtime::SetDecimalSeparator('.');
        QDir::setCurrent(previousFolder_);
        EXPECT_TRUE(boxes_.empty()) << "unexpected error box: " << boxes_.front();
    }

    void CreateForm(bool withPalette = true) {
        if (withPalette) {
            WriteKnownPalette(QString::fromUtf8(palette::PaletteFileName));
        }
        form = std::make_unique<TfmMnForm>();
    }

    // Takes the boxes shown so far; each one must be accounted for by the test.
    std::vector<std::string> TakeBoxes() { return std::exchange(boxes_, {}); }

    platform::Canvas& Area() { return form->pbDrawAr->Surface(); }
    std::vector<std::string> Report() { return form->ReportLines(); }

    // Runs the descent with the trace drawn at once.
    void IterateAtOnce() {
        form->seTimFrm->SetValue(0);
        form->bbIterat->click();
    }

    int CountPixels(const platform::Canvas& canvas, std::int32_t colour) {
        int count = 0;
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                count += canvas.GetPixel(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

    std::unique_ptr<TfmMnForm> form;

  private:
    QTemporaryDir folder_;
    QString previousFolder_;
    std::vector<std::string> boxes_;
};

// --- Start state and layout ---

TEST_F(MainFormTest, StartState) {
    CreateForm();
    EXPECT_EQ(form->objectName(), "fmMnForm");
    EXPECT_EQ(form->windowTitle(), "Методы оптимизации");
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsParam);
    EXPECT_EQ(form->coEquat->ItemIndex(), 1);
    EXPECT_EQ(form->coEquat->Text(), " (y-x*x)*(y-x*x) + (1-x*x)*(1-x*x)");
    EXPECT_EQ(form->coFill->Text(), "Дискретная карта (10 цветов)");
    EXPECT_EQ(form->coLevel->Text(), "Аназиз карты высот");
    EXPECT_EQ(form->coMetOpt->Text(), "Скорейший спуск (градиентный метод)");
    EXPECT_EQ(form->StatusText(), "");
    EXPECT_EQ(form->lbTraceX->text(), "x=");
    EXPECT_EQ(form->lbTraceY->text(), "y=");
    EXPECT_EQ(form->lbTraceZ->text(), "z=");
    EXPECT_TRUE(Report().empty());
    EXPECT_FALSE(form->tmTimer->isActive());
    EXPECT_EQ(form->Plot.CurrentFunc, core::ObjectiveFuncs[1]);
    // The drawing area's size is known from the start, before its page was ever shown.
    EXPECT_EQ(form->pbDrawAr->size(), QSize(448, 412));
    EXPECT_EQ(form->Plot.MapCols, 446);
    EXPECT_EQ(form->Plot.MapRows, 410);
    EXPECT_EQ(form->meWkSzX->Text(), "448");
    EXPECT_EQ(form->meWkSzY->Text(), "412");
    EXPECT_FALSE(form->Plot.ZRangeValid);
    // The colour editor shows entry 0 of the palette file.
    EXPECT_EQ(form->seDiNmCl->Text(), "0");
    EXPECT_EQ(form->seDiColR->Text(), "5");
    EXPECT_EQ(form->seDiColG->Text(), "40");
    EXPECT_EQ(form->seDiColB->Text(), "250");
    EXPECT_EQ(form->Palette[21].Color, Colour(21));
    // Texts and ranges of the other fields.
    EXPECT_EQ(form->meBeg_Xr->Text(), "30.0");
    EXPECT_EQ(form->meBeg_Yr->Text(), "-30.0");
    EXPECT_EQ(form->meCnsEps->Text(), "0.0000001");
    EXPECT_EQ(form->meCnsHst->Text(), "0.99");
    EXPECT_EQ(form->meCnsUoo->Text(), "1000.0");
    EXPECT_EQ(form->seTimFrm->Text(), "100");
    EXPECT_EQ(form->seTimFrm->MaxValue(), 10000);
    EXPECT_EQ(form->seScoGrd->Text(), "30");
    EXPECT_EQ(form->seScoGrd->MinValue(), 2);
    EXPECT_EQ(form->meStLeLi->Text(), "5.0");
    EXPECT_EQ(form->meWdLeLi->Text(), "0.05");
    EXPECT_FALSE(form->meWkSzX->isEnabled());
    EXPECT_FALSE(form->cbTrnpLL->isChecked());
    EXPECT_TRUE(form->cbDrSmal->isChecked() && form->cbDrBig->isChecked() &&
                form->cbDrAxis->isChecked() && form->cbDrNumb->isChecked());
}

TEST_F(MainFormTest, MenuHoldsItsItemsAndTheHelpItemsDoNothing) {
    CreateForm();
    const QList<QAction*> file = form->mmuFile->actions();
    ASSERT_EQ(file.size(), 5);
    EXPECT_EQ(file[0]->text(), "Сохранить рисунок…");
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(file[1]->text(), "Сохранить отчет…");
    EXPECT_EQ(file[2]->text(), "Сохранить анимацию…");
    EXPECT_FALSE(file[2]->isEnabled());  // until a descent has run
    EXPECT_TRUE(file[3]->isSeparator());
    EXPECT_EQ(file[4]->text(), "Выход");
    EXPECT_TRUE(form->mmuWork->actions().isEmpty());
    const QList<QAction*> help = form->mmuHelp->actions();
    ASSERT_EQ(help.size(), 4);
    EXPECT_EQ(help[0]->text(), "О программе");
    EXPECT_TRUE(help[1]->isSeparator() && help[2]->isSeparator());
    EXPECT_EQ(help[3]->text(), "Об авторе");
    form->ShowStatus("kept");
    form->mmdHabpr->trigger();
    form->mmdHabau->trigger();
    form->mmdHabpr->showStatusText(form.get());
    EXPECT_EQ(form->StatusText(), "kept");
}

TEST_F(MainFormTest, ControlsStandAtTheirDesignPlaces) {
    CreateForm();
    TfmMnForm& f = *form;
    struct Row {
        const char* name;
        const QWidget* control;
        QRect place;
    };
    const Row rows[] = {
        {"pcMnPage", f.pcMnPage, {0, 0, 456, 440}},
        {"pnButton", f.pnButton, {456, 0, 184, 440}},
        {"gbLstSet", f.gbLstSet, {0, 0, 448, 145}},
        {"coEquat", f.coEquat, {184, 16, 257, 24}},
        {"coMetOpt", f.coMetOpt, {184, 48, 257, 24}},
        {"coFill", f.coFill, {184, 80, 257, 24}},
        {"coLevel", f.coLevel, {184, 112, 257, 24}},
        {"gbBegPar", f.gbBegPar, {0, 153, 448, 168}},
        {"meBeg_Xr", f.meBeg_Xr, {224, 24, 81, 21}},
        {"meBeg_Yr", f.meBeg_Yr, {352, 24, 81, 21}},
        {"meCnsEps", f.meCnsEps, {304, 56, 129, 21}},
        {"meCnsHst", f.meCnsHst, {304, 80, 129, 21}},
        {"meCnsUoo", f.meCnsUoo, {304, 104, 129, 21}},
        {"seTimFrm", f.seTimFrm, {360, 136, 73, 22}},
        {"gbPrLeLi", f.gbPrLeLi, {0, 336, 448, 65}},
        {"meStLeLi", f.meStLeLi, {56, 24, 137, 21}},
        {"meWdLeLi", f.meWdLeLi, {296, 24, 137, 21}},
        {"gbColors", f.gbColors, {0, 8, 448, 121}},
        {"seDiNmCl", f.seDiNmCl, {54, 24, 43, 22}},
        {"seDiColR", f.seDiColR, {208, 24, 49, 22}},
        {"seDiColG", f.seDiColG, {264, 24, 49, 22}},
        {"seDiColB", f.seDiColB, {320, 24, 49, 22}},
        {"pbDiClEx", f.pbDiClEx, {376, 22, 66, 59}},
        {"seScoGrd", f.seScoGrd, {320, 56, 49, 22}},
        {"cbTrnpLL", f.cbTrnpLL, {8, 88, 433, 17}},
        {"gbDrwPar", f.gbDrwPar, {0, 136, 448, 177}},
        {"meSrXb", f.meSrXb, {240, 24, 89, 21}},
        {"meSrXe", f.meSrXe, {344, 24, 89, 21}},
        {"meSrYb", f.meSrYb, {240, 48, 89, 21}},
        {"meSgYs", f.meSgYs, {344, 120, 89, 21}},
        {"meWkSzX", f.meWkSzX, {240, 144, 89, 21}},
        {"meWkSzY", f.meWkSzY, {344, 144, 89, 21}},
        {"gbWhatDr", f.gbWhatDr, {0, 328, 448, 73}},
        {"cbDrSmal", f.cbDrSmal, {16, 24, 209, 17}},
        {"cbDrAxis", f.cbDrAxis, {240, 24, 193, 17}},
        {"cbDrBig", f.cbDrBig, {16, 48, 209, 17}},
        {"cbDrNumb", f.cbDrNumb, {240, 48, 193, 17}},
        {"pbDrawAr", f.pbDrawAr, {0, 0, 448, 412}},
        {"mmOtchet", f.mmOtchet, {0, 0, 448, 412}},
        {"pbColMap", f.pbColMap, {4, 0, 177, 17}},
        {"bbDrMpCl", f.bbDrMpCl, {8, 24, 169, 33}},
        {"bbDrMpLL", f.bbDrMpLL, {8, 64, 169, 33}},
        {"bbDrGrid", f.bbDrGrid, {8, 104, 169, 33}},
        {"bbIterat", f.bbIterat, {8, 144, 121, 33}},
        {"bbStopIt", f.bbStopIt, {136, 144, 41, 33}},
        {"gbTraceF", f.gbTraceF, {8, 184, 169, 65}},
        {"lbTraceX", f.lbTraceX, {16, 16, 137, 13}},
        {"lbTraceY", f.lbTraceY, {16, 32, 137, 13}},
        {"lbTraceZ", f.lbTraceZ, {16, 48, 137, 13}},
        {"imLorvin", f.imLorvin, {24, 264, 136, 172}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.control->geometry(), row.place) << row.name;
    }
    EXPECT_EQ(f.sbMessag->height(), 21);
    EXPECT_EQ(f.sbMessag->width(), 640);
    EXPECT_EQ(f.centralWidget()->size(), QSize(640, 440));
    EXPECT_EQ(f.bbDrMpCl->text(), " Отобразить график          ");
    EXPECT_EQ(f.bbDrMpLL->text(), " Построить линии уровня ");
    EXPECT_EQ(f.bbDrGrid->text(), " Натянуть сетку          ");
    EXPECT_EQ(f.gbTraceF->title(), " Указатель мыши над: ");
    EXPECT_EQ(f.lbTimFrm->text(), "Время показа одного кадра  (в миллисекундах)         t =");
    EXPECT_EQ(f.imLorvin->pixmap().size(), QSize(136, 172));
    EXPECT_EQ(f.bbIterat->icon().pixmap(16, 16).size(), QSize(16, 16));
}

TEST_F(MainFormTest, FontsAreTheDesignSizes) {
    CreateForm();
    struct Row {
        const char* name;
        const QWidget* control;
        int pixels;
    };
    const Row rows[] = {
        {"window", form.get(), 11},       {"lbEquat", form->lbEquat, 13},
        {"coEquat", form->coEquat, 13},   {"lbFill", form->lbFill, 11},
        {"gbBegPar", form->gbBegPar, 13}, {"lbBegXYr", form->lbBegXYr, 13},
        {"meBeg_Xr", form->meBeg_Xr, 11}, {"seTimFrm", form->seTimFrm, 11},
        {"cbTrnpLL", form->cbTrnpLL, 13}, {"lbSrXbe", form->lbSrXbe, 13},
        {"meSrXb", form->meSrXb, 11},     {"cbDrSmal", form->cbDrSmal, 13},
        {"bbDrMpCl", form->bbDrMpCl, 11}, {"lbTraceX", form->lbTraceX, 11},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.control->font().pixelSize(), row.pixels) << row.name;
        EXPECT_EQ(row.control->font().family(), "Liberation Sans") << row.name;
    }
}

// The span [left, right) of a word of a label, in its parent's coordinates.
std::pair<double, double> WordSpan(const QLabel* label, const QString& word) {
    const QString text = label->text();
    const qsizetype at = text.indexOf(word);
    const QFontMetricsF metrics(label->font());
    return {label->x() + metrics.horizontalAdvance(text.left(at)),
            label->x() + metrics.horizontalAdvance(text.left(at + word.size()))};
}

TEST_F(MainFormTest, EveryTextFitsItsPlace) {
    CreateForm();
    TfmMnForm& f = *form;
    // Labels end before the control on their right.
    const std::pair<const QLabel*, const QWidget*> labelsBefore[] = {
        {f.lbEquat, f.coEquat},   {f.lbMetOpt, f.coMetOpt}, {f.lbFill, f.coFill},
        {f.lbLevel, f.coLevel},   {f.lbStLeLi, f.meStLeLi}, {f.lbWdLeLi, f.meWdLeLi},
        {f.lbScoCol, f.seScoGrd}, {f.lbSrXbe, f.meSrXb},    {f.lbSrYbe, f.meSrYb},
        {f.lbSrXYc, f.meSrXc},    {f.lbSrXYs, f.meSrXs},    {f.lbSgXYs, f.meSgXs},
        {f.lbWkSzXY, f.meWkSzX},
    };
    for (const auto& [label, next] : labelsBefore) {
        const double width = QFontMetricsF(label->font()).horizontalAdvance(label->text());
        EXPECT_LE(label->x() + width, next->x()) << label->text().toStdString();
    }
    // Words of the padded labels stay in the gaps between their fields.
    struct Word {
        const QLabel* label;
        const char* word;
        const QWidget* after;
        const QWidget* before;
    };
    const Word words[] = {
        {f.lbBegXYr, "x0 =", nullptr, f.meBeg_Xr},
        {f.lbBegXYr, "y0 =", f.meBeg_Xr, f.meBeg_Yr},
        {f.lbCnsEps, "eps =", nullptr, f.meCnsEps},
        {f.lbCnsHst, "h_step =", nullptr, f.meCnsHst},
        {f.lbCnsUoo, "Uoo =", nullptr, f.meCnsUoo},
        {f.lbTimFrm, "t =", nullptr, f.seTimFrm},
        {f.lbColors, "Цвет #", nullptr, f.seDiNmCl},
        {f.lbColors, "палитры (RGB) :", f.seDiNmCl, f.seDiColR},
    };
    for (const Word& w : words) {
        const auto [left, right] = WordSpan(w.label, QString::fromUtf8(w.word));
        EXPECT_LE(right, w.before->x()) << w.word;
        if (w.after != nullptr) {
            EXPECT_GE(left, w.after->x() + w.after->width()) << w.word;
        }
    }
    // List items fit the edit field of their list.
    for (const platform::DropDown* list : {f.coEquat, f.coMetOpt, f.coFill, f.coLevel}) {
        for (int i = 0; i < list->count(); ++i) {
            EXPECT_LE(ListTextWidth(list, list->itemText(i)), ListTextRoom(list))
                << list->itemText(i).toStdString();
        }
    }
    // Check boxes, buttons and group titles.
    for (const QCheckBox* check : {f.cbTrnpLL, f.cbDrSmal, f.cbDrAxis, f.cbDrBig, f.cbDrNumb}) {
        EXPECT_LE(check->sizeHint().width(), check->width()) << check->text().toStdString();
    }
    for (const QPushButton* button : {f.bbDrMpCl, f.bbDrMpLL, f.bbDrGrid, f.bbIterat}) {
        const double needed = QFontMetricsF(button->font()).horizontalAdvance(button->text()) +
                              (button->icon().isNull() ? 0 : 16 + 4);
        EXPECT_LE(needed + 8, button->width()) << button->text().toStdString();
    }
    for (const QGroupBox* group :
         {f.gbLstSet, f.gbBegPar, f.gbPrLeLi, f.gbColors, f.gbDrwPar, f.gbWhatDr, f.gbTraceF}) {
        const double width = QFontMetricsF(group->font()).horizontalAdvance(group->title());
        EXPECT_LE(width + 16, group->width()) << group->title().toStdString();
    }
    const QTabBar* tabs = f.pcMnPage->TabBar();
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), f.pcMnPage->width());
}

TEST_F(MainFormTest, EnlargingTheWindowEnlargesTheDrawingAreaAndKeepsThePanelWidth) {
    CreateForm();
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->pbDrawAr->size(), QSize(448, 412));
    form->resize(form->width() + 100, form->height() + 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->pnButton->width(), 184);
    EXPECT_EQ(form->pnButton->x() + 184, form->centralWidget()->width());
    EXPECT_EQ(form->pcMnPage->size(), QSize(556, 490));
    EXPECT_EQ(form->pbDrawAr->size(), QSize(548, 462));
    EXPECT_EQ(form->Plot.MapCols, 546);
    EXPECT_EQ(form->meWkSzY->Text(), "462");
}

// --- Commands ---

TEST_F(MainFormTest, MapCommandScansSwitchesPageFillsAndSaves) {
    CreateForm();
    form->bbDrMpCl->click();
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    EXPECT_EQ(form->StatusText(), "Прорисовка карты высот: 100%");
    EXPECT_TRUE(form->Plot.ZRangeValid);
    EXPECT_EQ(form->Plot.VisibleRegion.Xb, -1.3L);
    // Frame in the outline colour; the smallest sample in map colour 0; the largest, at the
    // bottom corners of x*x and y, in colour 9.
    EXPECT_EQ(Area().GetPixel(0, 0), Colour(palette::OutlineColor));
    EXPECT_EQ(Area().GetPixel(447, 411), Colour(palette::OutlineColor));
    EXPECT_EQ(Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow), Colour(0));
    EXPECT_EQ(Area().GetPixel(1, 410), Colour(9));
    ASSERT_TRUE(form->SavedPicture.BackingImage);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
}

// On a shown window a status text may repaint the window in the middle of a command; that repaint
// must not put the last saved picture back over what the command is drawing.
TEST_F(MainFormTest, RepaintsDuringACommandKeepWhatItDraws) {
    CreateForm();
    form->show();
    // Each status text repaints the window and lets its events through.
    QObject::connect(form->sbMessag, &QStatusBar::messageChanged, form.get(), [this] {
        form->sbMessag->repaint();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    form->bbDrMpCl->click();
    form->bbDrGrid->click();
    ASSERT_GT(CountPixels(Area(), Colour(palette::BigGridColor)), 0);
    form->bbDrMpCl->click();  // the map wipes the grid everywhere
    EXPECT_EQ(CountPixels(Area(), Colour(palette::BigGridColor)), 0);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
    IterateAtOnce();  // every trace point shows a status text
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
    const QPoint last(
        render::XToColumn(form->Plot, form->Descent.Trace[form->Descent.TraceCount].X, 448),
        render::YToRow(form->Plot, form->Descent.Trace[form->Descent.TraceCount].Y, 412));
    EXPECT_EQ(form->SavedPicture.BackingImage->GetPixel(last.x() - 4, last.y()),
              Colour(palette::TracePenColor));
}

TEST_F(MainFormTest, GradientFillUsesTheGradientEnds) {
    CreateForm();
    form->coFill->ChooseItem(1);
    form->bbDrMpCl->click();
    EXPECT_EQ(Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow),
              Colour(palette::GradientLowColor));
    EXPECT_EQ(Area().GetPixel(1, 410), Colour(palette::GradientHighColor));
}

TEST_F(MainFormTest, LevelLineCommandDrawsLinesOverTheBackground) {
    CreateForm();
    form->bbDrMpLL->click();
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    EXPECT_EQ(form->StatusText(), "Построение линий уровня: 100%");
    EXPECT_TRUE(form->Plot.ZRangeValid);
    // Over the map its colour borders become lines.
    form->bbDrMpCl->click();
    form->bbDrMpLL->click();
    EXPECT_TRUE(form->Plot.ZRangeValid);
    const int lines = CountPixels(Area(), Colour(palette::LevelLineColor));
    const int background = CountPixels(Area(), Colour(palette::BackgroundColor));
    EXPECT_GT(lines, 0);
    EXPECT_GT(background, 0);
    EXPECT_EQ(lines + background, 446 * 410);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
}

TEST_F(MainFormTest, GridCommandDrawsTheCheckedLayersWithoutAScan) {
    CreateForm();
    form->bbDrMpCl->click();
    form->pcMnPage->SetActivePage(form->tsParam);
    form->meSrXc->SetText("0");
    form->ShowStatus("before");
    form->bbDrGrid->click();
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    EXPECT_FALSE(form->Plot.ZRangeValid);
    EXPECT_EQ(form->StatusText(), "before");
    for (int role : {palette::AxesColor, palette::BigGridColor, palette::SmallGridColor,
                     palette::NumberTextColor}) {
        EXPECT_GT(CountPixels(Area(), Colour(role)), 0) << "role " << role;
    }
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());

    // With every box unchecked the grid draws nothing.
    form->bbDrMpCl->click();
    ASSERT_TRUE(form->Plot.ZRangeValid);
    const QImage map = Area().Image().copy();
    for (QCheckBox* check : {form->cbDrSmal, form->cbDrBig, form->cbDrAxis, form->cbDrNumb}) {
        check->setChecked(false);
    }
    form->bbDrGrid->click();
    EXPECT_EQ(Area().Image(), map);
}

TEST_F(MainFormTest, ReportForTheDefaultsAfterAMap) {
    CreateForm();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    const std::vector<std::string> report = Report();
    ASSERT_EQ(report.size(), 50u);
    EXPECT_EQ(report[0], "");
    EXPECT_EQ(report[1], "Видимая область: x = -1.3 .. 1.3, y=-1.3 .. 1.3");
    EXPECT_EQ(report[2], "Начальная точка: x0 = 30.0, y0 = -30.0");
    EXPECT_EQ(report[4], "Скорейший спуск прошел за 43 итерац.");
    EXPECT_EQ(report[5], "");
    EXPECT_EQ(report[6], "Трасса спуска:");
    EXPECT_EQ(report[7].rfind("#1: z( ", 0), 0u);
    EXPECT_EQ(report[49].rfind("#43: z( ", 0), 0u);
    EXPECT_EQ(form->pcMnPage->ActivePage(), form->tsDraw);
    // A second run replaces the report.
    IterateAtOnce();
    EXPECT_EQ(Report().size(), 50u);
}

TEST_F(MainFormTest, IterationCountsOfTheThreeFunctions) {
    struct Row {
        int function;
        const char* line;
    };
    const Row rows[] = {{0, "Скорейший спуск прошел за 3 итерац."},
                        {1, "Скорейший спуск прошел за 43 итерац."},
                        {2, "Скорейший спуск прошел за 2 итерац."}};
    CreateForm();
    for (const Row& row : rows) {
        form->coEquat->ChooseItem(row.function);
        EXPECT_EQ(form->Plot.CurrentFunc, core::ObjectiveFuncs[row.function]);
        form->bbDrMpCl->click();
        IterateAtOnce();
        const std::vector<std::string> report = Report();
        ASSERT_GE(report.size(), 5u);
        EXPECT_EQ(report[4], row.line) << "function " << row.function;
        EXPECT_EQ(report.size(), 7u + form->Descent.TraceCount);
    }
}

TEST_F(MainFormTest, ReportUsesTheLocalesDecimalSeparator) {
    CreateForm();
    runtime::SetDecimalSeparator(',');
    form->bbDrMpCl->click();
    IterateAtOnce();
    ASSERT_GE(Report().size(), 2u);
    EXPECT_EQ(Report()[1], "Видимая область: x = -1,3 .. 1,3, y=-1,3 .. 1,3");
    EXPECT_EQ(Report()[2], "Начальная точка: x0 = 30.0, y0 = -30.0");
}

TEST_F(MainFormTest, LocaleChangeReadsTheSeparatorAgain) {
    CreateForm();
    runtime::SetDecimalSeparator(',');
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(form.get(), &change);
    EXPECT_EQ(runtime::DecimalSeparator(), platform::SystemDecimalSeparator());
}

TEST_F(MainFormTest, IteratingBeforeAnyScanReportsTheZeroRegionAndFailsAtPointOne) {
    CreateForm();
    IterateAtOnce();
    EXPECT_EQ(TakeBoxes(),
              std::vector<std::string>{runtime::ErrorBoxText("Floating point division by zero")});
    const std::vector<std::string> report = Report();
    ASSERT_EQ(report.size(), 50u);
    EXPECT_EQ(report[1], "Видимая область: x = 0 .. 0, y=0 .. 0");
    // The cross at (0, 0) was drawn and saved before the trace failed.
    EXPECT_EQ(Area().GetPixel(0, 0), Colour(palette::TracePenColor));
    EXPECT_EQ(form->SavedPicture.BackingImage->GetPixel(0, 0), Colour(palette::TracePenColor));
}

TEST_F(MainFormTest, AFailingTickEndsTheAnimationWithOneBox) {
    CreateForm();
    form->bbIterat->click();
    EXPECT_TRUE(form->tmTimer->isActive());
    form->TimerTick();
    EXPECT_EQ(TakeBoxes(),
              std::vector<std::string>{runtime::ErrorBoxText("Floating point division by zero")});
    EXPECT_FALSE(form->tmTimer->isActive());
    EXPECT_EQ(form->AnimStep, 1);
}

TEST_F(MainFormTest, ARefusedRunLeavesReportAndTrace) {
    CreateForm();
    form->bbDrMpCl->click();
    IterateAtOnce();
    const std::vector<std::string> report = Report();
    const std::uint32_t count = form->Descent.TraceCount;
    form->coEquat->TypeText("x*y");
    IterateAtOnce();
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], runtime::ErrorBoxText("Уравнение не выбрано: выберите его из списка"));
    EXPECT_EQ(Report(), report);
    EXPECT_EQ(form->Descent.TraceCount, count);
}

// --- Animation ---

TEST_F(MainFormTest, TheTimerTicksOncePerPointAndOnceMore) {
    CreateForm();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    EXPECT_TRUE(form->tmTimer->isActive());
    EXPECT_EQ(form->tmTimer->interval(), 100);
    EXPECT_EQ(form->AnimStep, 1);
    ASSERT_EQ(form->Descent.TraceCount, 43u);
    int ticks = 0;
    while (form->tmTimer->isActive() && ticks < 1000) {
        form->tmTimerTimer();
        ++ticks;
        if (ticks == 43) {
            EXPECT_EQ(form->StatusText(), "Точка трассы #43 из 43");
            EXPECT_TRUE(form->tmTimer->isActive());
        }
    }
    EXPECT_EQ(ticks, 44);
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
}

TEST_F(MainFormTest, StopDuringTheAnimationDrawsExactlyOneMorePoint) {
    CreateForm();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    form->tmTimerTimer();
    form->tmTimerTimer();
    form->bbStopIt->click();
    EXPECT_TRUE(form->StopRequested);
    EXPECT_TRUE(form->tmTimer->isActive());
    form->tmTimerTimer();
    EXPECT_EQ(form->StatusText(), "Точка трассы #3 из 43");
    EXPECT_EQ(form->AnimStep, 4);
    EXPECT_FALSE(form->tmTimer->isActive());
}

TEST_F(MainFormTest, AnotherCommandAfterStopCancelsTheStop) {
    CreateForm();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    form->tmTimerTimer();
    form->bbStopIt->click();
    form->bbDrGrid->click();
    EXPECT_FALSE(form->StopRequested);
    form->tmTimerTimer();
    EXPECT_TRUE(form->tmTimer->isActive());
    EXPECT_EQ(form->AnimStep, 3);
}

TEST_F(MainFormTest, FrameTimeZeroDrawsTheWholeTraceAndSavesItWithoutTheTimer) {
    CreateForm();
    form->bbDrMpCl->click();
    IterateAtOnce();
    EXPECT_FALSE(form->tmTimer->isActive());
    EXPECT_EQ(form->StatusText(), "Точка трассы #43 из 43");
    EXPECT_EQ(form->SavedPicture.BackingImage->Image(), Area().Image());
    EXPECT_GT(CountPixels(Area(), Colour(palette::TraceFillColor)), 0);
}

TEST_F(MainFormTest, AFrameTimeThatIsNotANumberCountsAsZero) {
    CreateForm();
    form->bbDrMpCl->click();
    form->seTimFrm->SetText("abc");
    form->bbIterat->click();
    EXPECT_FALSE(form->tmTimer->isActive());
    EXPECT_EQ(form->StatusText(), "Точка трассы #43 из 43");
}

TEST_F(MainFormTest, ExitClosesTheWindowDuringAnAnimation) {
    CreateForm();
    form->show();
    form->bbDrMpCl->click();
    form->bbIterat->click();
    form->mmdFexit->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->tmTimer->isActive());
}

// --- Invalidation ---

TEST_F(MainFormTest, TypedEquationTextKeepsTheFunctionButMarksTheRangeStale) {
    CreateForm();
    form->bbDrMpCl->click();
    ASSERT_TRUE(form->Plot.ZRangeValid);
    form->coEquat->TypeText("x*x");
    EXPECT_EQ(form->coEquat->ItemIndex(), -1);
    EXPECT_EQ(form->Plot.CurrentFunc, core::ObjectiveFuncs[1]);
    EXPECT_FALSE(form->Plot.ZRangeValid);
}

TEST_F(MainFormTest, EveryGraphicsFieldMarksTheRangeStale) {
    CreateForm();
    TfmMnForm& f = *form;
    for (platform::TextField* field :
         {f.meSrXb, f.meSrXe, f.meSrYb, f.meSrYe, f.meSrXc, f.meSrYc, f.meSrXs, f.meSrYs, f.meSgXs,
          f.meSgYs, f.meWkSzX, f.meWkSzY}) {
        form->Plot.ZRangeValid = true;
        field->SetText(field->Text() + "0");
        EXPECT_FALSE(form->Plot.ZRangeValid);
    }
    // The run parameters do not.
    form->Plot.ZRangeValid = true;
    f.meBeg_Xr->SetText("1.0");
    f.meStLeLi->SetText("2.0");
    EXPECT_TRUE(form->Plot.ZRangeValid);
}

// Batch options set the fields as a user would: values typed in order, items chosen (their
// handler runs), check boxes turned from their start state; the commands read them back.
TEST_F(MainFormTest, FieldOptionsSetTheFieldsTheCommandsRead) {
    CreateForm();
    TfmMnForm& f = *form;
    SetOptionFields(f, "region", {"-2", "2", "-1", "1"});
    SetOptionFields(f, "function", {"0"});
    SetOptionFields(f, "colors", {"7"});
    SetOptionFields(f, "no-axes", {});
    SetOptionFields(f, "transparent", {});
    const render::GraphFieldTexts graph = ReadGraphFieldTexts(f);
    EXPECT_EQ(std::vector<std::string>({graph.Xb, graph.Xe, graph.Yb, graph.Ye}),
              std::vector<std::string>({"-2", "2", "-1", "1"}));
    EXPECT_EQ(form->Plot.CurrentFunc, core::ObjectiveFuncs[0]);
    EXPECT_EQ(ReadDescentFields(f).funcIndex, 0);
    EXPECT_EQ(f.seScoGrd->Value(), 7);
    const render::GridLayers layers = ReadGridLayers(f);
    EXPECT_FALSE(layers.axes);
    EXPECT_TRUE(layers.small && layers.big && layers.numbers);
    EXPECT_TRUE(ReadLevelLineOptions(f).transparent);
}

TEST_F(MainFormTest, ResizingTheDrawingAreaMarksTheRangeStaleAndShowsTheSize) {
    CreateForm();
    form->bbDrMpCl->click();
    ASSERT_TRUE(form->Plot.ZRangeValid);
    form->LayoutForDrawingArea(300, 200);
    EXPECT_EQ(form->pbDrawAr->size(), QSize(300, 200));
    EXPECT_EQ(form->Plot.MapCols, 298);
    EXPECT_EQ(form->Plot.MapRows, 198);
    EXPECT_EQ(form->meWkSzX->Text(), "300");
    EXPECT_EQ(form->meWkSzY->Text(), "200");
    EXPECT_FALSE(form->Plot.ZRangeValid);
    form->bbDrMpCl->click();
    EXPECT_EQ(Area().Width(), 300);
    EXPECT_EQ(Area().GetPixel(299, 199), Colour(palette::OutlineColor));
}

// --- Mouse readout ---

TEST_F(MainFormTest, MouseReadoutOverTheDrawingArea) {
    CreateForm();
    form->bbDrMpCl->click();
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(form->pbDrawAr, &move);
    EXPECT_EQ(form->lbTraceX->text(), "x=-1.3");
    EXPECT_EQ(form->lbTraceY->text(), "y=1.3");
    EXPECT_EQ(form->lbTraceZ->text().toStdString(),
              "z=" + runtime::FormatGeneral(core::ObjectiveFuncs[1](-1.3L, 1.3L)));
    form->pbDrawArMouseMove(0, 5);
    EXPECT_EQ(form->lbTraceZ->text(), "Out of range");
}

// --- Colour editor ---

TEST_F(MainFormTest, ChoosingAnEntryShowsItsComponentsAndSample) {
    CreateForm();
    form->seDiNmCl->SetValue(7);
    EXPECT_EQ(form->seDiColR->Text(), "75");
    EXPECT_EQ(form->seDiColG->Text(), "61");
    EXPECT_EQ(form->seDiColB->Text(), "201");
    platform::Canvas& sample = form->pbDiClEx->Surface();
    EXPECT_EQ(sample.GetPixel(0, 0), Colour(palette::OutlineColor));
    EXPECT_EQ(sample.GetPixel(30, 30), Colour(7));
}

TEST_F(MainFormTest, ComponentAboveTheRangeIsClampedForDisplayAndStoredBack) {
    CreateForm();
    form->Palette[3].R = 300;
    form->seDiNmCl->SetValue(3);
    EXPECT_EQ(form->seDiColR->Text(), "255");
    EXPECT_EQ(form->Palette[3].R, 255);
    EXPECT_EQ(form->Palette[3].Color, 255 + G(3) * 256 + B(3) * 65536);
}

TEST_F(MainFormTest, ComponentAboveTheRangeStaysWhenTheFieldAlreadyShowsTheClampedValue) {
    CreateForm();
    form->Palette[4].R = 255;
    form->Palette[4].Color = palette::PackColor(255, G(4), B(4));
    form->seDiNmCl->SetValue(4);
    ASSERT_EQ(form->seDiColR->Text(), "255");
    form->Palette[3].R = 300;
    form->seDiNmCl->SetValue(3);
    EXPECT_EQ(form->seDiColR->Text(), "255");
    EXPECT_EQ(form->Palette[3].R, 300);
}

TEST_F(MainFormTest, TypedComponentIsStoredAsTypedUntilTheFieldIsLeft) {
    CreateForm();
    form->seDiNmCl->SetValue(5);
    form->seDiColR->SetText("300");
    EXPECT_EQ(form->Palette[5].R, 300);
    EXPECT_EQ(form->Palette[5].Color, palette::PackColor(300, G(5), B(5)));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form->seDiColR, &leave);
    EXPECT_EQ(form->seDiColR->Text(), "255");
    EXPECT_EQ(form->Palette[5].R, 255);
}

TEST_F(MainFormTest, EmptyTextsSelectTheMinimum) {
    CreateForm();
    form->seDiNmCl->SetValue(6);
    form->seDiColG->SetText("");
    EXPECT_EQ(form->Palette[6].G, 0);
    EXPECT_EQ(form->Palette[6].Color, palette::PackColor(R(6), 0, B(6)));
    form->seDiNmCl->SetText("");
    EXPECT_EQ(form->seDiColR->Text(), "5");  // entry 0
    EXPECT_EQ(form->seDiColB->Text(), "250");
}

TEST_F(MainFormTest, AnIndexOutsideTheTableChangesNothing) {
    CreateForm();
    form->seDiNmCl->SetValue(8);
    form->seDiNmCl->SetText("25");
    EXPECT_EQ(form->seDiColR->Text(), "85");
    form->seDiColR->SetText("9");
    form->seDiNmCl->SetText("-1");
    form->seDiColG->SetText("9");
    for (int i = 0; i < palette::PaletteSize; ++i) {
        EXPECT_EQ(form->Palette[static_cast<std::size_t>(i)].Color, Colour(i)) << "entry " << i;
    }
}

TEST_F(MainFormTest, AChangedMapColourShowsInTheLegendAtOnceButNotInTheGraph) {
    CreateForm();
    form->bbDrMpCl->click();
    const std::int32_t before = Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow);
    ASSERT_EQ(before, Colour(0));
    form->seDiNmCl->SetValue(0);
    form->seDiColR->SetValue(123);
    EXPECT_EQ(form->Palette[0].Color, palette::PackColor(123, G(0), B(0)));
    EXPECT_EQ(form->pbColMap->Surface().GetPixel(9, 8), form->Palette[0].Color);
    EXPECT_EQ(Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow), before);
    form->bbDrMpCl->click();
    EXPECT_EQ(Area().GetPixel(form->Plot.MinCol, form->Plot.MinRow), form->Palette[0].Color);
}

TEST_F(MainFormTest, MissingPaletteFileShowsOneBoxAndTheEditorShowsEntryTwoAsZero) {
    CreateForm(false);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{runtime::ErrorBoxText("File not found")});
    EXPECT_EQ(form->seDiNmCl->Text(), "2");
    EXPECT_EQ(form->seDiColR->Text(), "0");
    EXPECT_EQ(form->seDiColG->Text(), "0");
    EXPECT_EQ(form->seDiColB->Text(), "0");
    // The window works, every colour black.
    form->bbDrMpCl->click();
    EXPECT_EQ(Area().GetPixel(5, 5), 0);
}

TEST_F(MainFormTest, ThePaletteFileOfTheProgramLoads) {
    QFile::copy(QStringLiteral(METOPT_DATA_DIR "/Palitr10.dat"),
                QString::fromUtf8(palette::PaletteFileName));
    form = std::make_unique<TfmMnForm>();
    EXPECT_EQ(form->seDiNmCl->Text(), "0");
    EXPECT_EQ(form->seDiColR->Value(), std::min(form->Palette[0].R, 255));
}

// --- Errors ---

TEST_F(MainFormTest, ABadCountFieldFailsTheGridButNotTheRepaint) {
    CreateForm();
    form->meSgXs->SetText("x");
    form->bbDrGrid->click();
    EXPECT_EQ(TakeBoxes(),
              std::vector<std::string>{runtime::ErrorBoxText("'x' is not a valid integer value")});
    form->pbDrawAr->grab();
    QCoreApplication::processEvents();
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(MainFormTest, RepaintPutsBackTheLastSavedPicture) {
    CreateForm();
    form->bbDrMpCl->click();
    const QImage saved = form->SavedPicture.BackingImage->Image().copy();
    Area().SetPixel(10, 10, 0x123456);  // drawn, not saved
    const QImage shown = form->pbDrawAr->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(10, 10), saved.pixel(10, 10));
    EXPECT_EQ(Area().Image(), saved);
}

}  // namespace
}  // namespace metopt::ui
