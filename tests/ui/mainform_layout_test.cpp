// The main window as it starts: its state, menu, the controls at their design places, the fonts,
// every text fitting its place, and what enlarging the window enlarges.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "core/functions.h"
#include "platform/dropdown.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "support/mainform_fixture.h"
#include "support/qt_environment.h"
#include "support/test_window.h"
#include "ui/textfit.h"

namespace metopt::ui {
namespace {

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
    EXPECT_EQ(form->Plot.CurrentFunc, core::PlottedFunc(1));
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
    testsupport::TestWindow& f = *form;
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
    testsupport::TestWindow& f = *form;
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

}  // namespace
}  // namespace metopt::ui
