// The main window as it starts: its state, menu, the controls at their design places, the fonts,
// every text fitting its place, and what enlarging the window enlarges.
#include <gtest/gtest.h>

#include <QAbstractItemView>
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

#include "app/labfile.h"
#include "core/builtinfunctions.h"
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
    ASSERT_EQ(file.size(), 11);
    EXPECT_EQ(file[0]->text(), "Открыть работу…");
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(file[1]->text(), "Сохранить работу…");
    EXPECT_EQ(file[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(file[2]->text(), "Недавние работы");
    EXPECT_TRUE(file[3]->isSeparator());
    EXPECT_EQ(file[4]->text(), "Сохранить рисунок…");
    EXPECT_EQ(file[4]->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(file[5]->text(), "Сохранить отчет…");
    EXPECT_EQ(file[6]->text(), "Сохранить анимацию…");
    EXPECT_FALSE(file[6]->isEnabled());  // until a descent has run
    EXPECT_EQ(file[7]->text(), "Сохранить график сходимости…");
    EXPECT_EQ(file[8]->text(), "Сохранить поверхность…");
    EXPECT_TRUE(file[9]->isSeparator());
    EXPECT_EQ(file[10]->text(), "Выход");
    const QList<QAction*> work = form->mmuWork->actions();
    ASSERT_EQ(work.size(), 8);
    EXPECT_EQ(work[0]->text(), "Остановка");
    EXPECT_EQ(work[1]->text(), "Одномерный поиск");
    EXPECT_EQ(work[2]->text(), "Сравнивать методы");
    EXPECT_EQ(work[3]->text(), "Сравнить методы");
    EXPECT_EQ(work[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    EXPECT_EQ(work[4]->text(), "Подобрать область");
    EXPECT_EQ(work[5]->text(), "Вернуть область");
    EXPECT_EQ(work[5]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Backspace));
    EXPECT_EQ(work[6]->text(), "По шагам");
    EXPECT_EQ(work[6]->shortcut(), QKeySequence(Qt::Key_F8));
    // The constraint methods, "Без ограничений" checked at start.
    EXPECT_EQ(work[7]->text(), "Учёт ограничений");
    const QList<QAction*> constraintMethods = work[7]->menu()->actions();
    ASSERT_EQ(constraintMethods.size(), core::ConstraintMethodCount);
    for (int i = 0; i < constraintMethods.size(); ++i) {
        EXPECT_EQ(constraintMethods[i]->text(), core::ConstraintMethodCaptions[i]);
        EXPECT_EQ(constraintMethods[i]->isChecked(), i == 0) << i;
    }
    // The one-dimensional methods, the golden section checked at start.
    const QList<QAction*> searches = work[1]->menu()->actions();
    ASSERT_EQ(searches.size(), core::LineSearchCount);
    for (int i = 0; i < searches.size(); ++i)
        EXPECT_EQ(searches[i]->isChecked(), i == 0) << i;
    // The methods compared at start.
    const QList<QAction*> compared = work[2]->menu()->actions();
    ASSERT_EQ(compared.size(), core::MethodCount);
    for (int i = 0; i < compared.size(); ++i)
        EXPECT_EQ(compared[i]->isChecked(), i == 0 || i == 4 || i == 6 || i == 8 || i == 11) << i;
    // One stop rule checked at a time, the step rule at start.
    QAction* const rules[] = {form->mmdWkStSt, form->mmdWkStGr, form->mmdWkStFn};
    EXPECT_EQ(work[0]->menu()->actions().size(), 3);
    EXPECT_EQ(rules[0]->text(), "по шагу: |x(k) − x(k−1)| < eps");
    EXPECT_TRUE(rules[0]->isChecked());
    for (QAction* chosen : {rules[2], rules[1], rules[0]}) {
        chosen->trigger();
        for (QAction* rule : rules)
            EXPECT_EQ(rule->isChecked(), rule == chosen);
    }
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
    // The design's places, by control name; each control is found as the window names it.
    struct Row {
        const char* name;
        QRect place;
    };
    const Row rows[] = {
        {"pcMnPage", {0, 0, 456, 440}},    {"pnButton", {456, 0, 184, 440}},
        {"gbLstSet", {0, 0, 448, 145}},    {"coEquat", {184, 16, 257, 24}},
        {"coMetOpt", {184, 48, 257, 24}},  {"coFill", {184, 80, 257, 24}},
        {"coLevel", {184, 112, 257, 24}},  {"gbBegPar", {0, 153, 448, 168}},
        {"meBeg_Xr", {224, 24, 81, 21}},   {"meBeg_Yr", {352, 24, 81, 21}},
        {"meCnsEps", {304, 56, 129, 21}},  {"meCnsHst", {304, 80, 129, 21}},
        {"meCnsUoo", {304, 104, 129, 21}}, {"seTimFrm", {360, 136, 73, 22}},
        {"gbPrLeLi", {0, 336, 448, 65}},   {"meStLeLi", {56, 24, 137, 21}},
        {"meWdLeLi", {296, 24, 137, 21}},  {"gbColors", {0, 8, 448, 121}},
        {"seDiNmCl", {54, 24, 43, 22}},    {"seDiColR", {208, 24, 49, 22}},
        {"seDiColG", {264, 24, 49, 22}},   {"seDiColB", {320, 24, 49, 22}},
        {"pbDiClEx", {376, 22, 66, 59}},   {"seScoGrd", {320, 56, 49, 22}},
        {"cbTrnpLL", {8, 88, 225, 17}},    {"cbStMark", {236, 88, 207, 17}},
        {"gbDrwPar", {0, 136, 448, 177}},  {"meSrXb", {240, 24, 89, 21}},
        {"meSrXe", {344, 24, 89, 21}},     {"meSrYb", {240, 48, 89, 21}},
        {"meSgYs", {344, 120, 89, 21}},    {"meWkSzX", {240, 144, 89, 21}},
        {"meWkSzY", {344, 144, 89, 21}},   {"gbWhatDr", {0, 328, 448, 73}},
        {"cbDrSmal", {16, 24, 209, 17}},   {"cbDrAxis", {240, 24, 193, 17}},
        {"cbDrBig", {16, 48, 209, 17}},    {"cbDrNumb", {240, 48, 193, 17}},
        {"pbDrawAr", {0, 0, 448, 412}},    {"mmOtchet", {0, 0, 448, 412}},
        {"pbColMap", {4, 0, 177, 17}},     {"bbDrMpCl", {8, 24, 169, 33}},
        {"bbDrMpLL", {8, 64, 169, 33}},    {"bbDrGrid", {8, 104, 169, 33}},
        {"bbIterat", {8, 144, 121, 33}},   {"bbStopIt", {136, 144, 41, 33}},
        {"bbStepIt", {8, 184, 169, 33}},   {"gbTraceF", {8, 224, 169, 65}},
        {"lbTraceX", {16, 16, 137, 13}},   {"lbTraceY", {16, 32, 137, 13}},
        {"lbTraceZ", {16, 48, 137, 13}},   {"imLorvin", {40, 304, 104, 132}},
    };
    for (const Row& row : rows) {
        const auto* control = f.findChild<const QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_EQ(control->geometry(), row.place) << row.name;
    }
    EXPECT_EQ(f.sbMessag->height(), 21);
    EXPECT_EQ(f.sbMessag->width(), 640);
    EXPECT_EQ(f.centralWidget()->size(), QSize(640, 440));
    EXPECT_EQ(f.bbDrMpCl->text(), " Отобразить график          ");
    EXPECT_EQ(f.bbDrMpLL->text(), " Построить линии уровня ");
    EXPECT_EQ(f.bbDrGrid->text(), " Натянуть сетку          ");
    EXPECT_EQ(f.gbTraceF->title(), " Указатель мыши над: ");
    EXPECT_EQ(f.lbTimFrm->text(), "Время показа одного кадра  (в миллисекундах)         t =");
    EXPECT_EQ(f.imLorvin->pixmap().size(), QSize(104, 132));
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
        {f.lbWkSzXY, f.meWkSzX},  {f.lbLrRate, f.meLrRate}, {f.lbLrMom, f.meLrMom},
        {f.lbLrRho, f.meLrRho},   {f.lbLrB1, f.meLrB1},     {f.lbLrB2, f.meLrB2},
        {f.lbLrNois, f.meLrNois}, {f.lbLrSeed, f.meLrSeed},
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
    // List items fit the edit field of their list (the equation list's classic items scroll in
    // it); the open list shows every item, whole.
    for (platform::DropDown* list : {f.coEquat, f.coMetOpt, f.coFill, f.coLevel}) {
        EXPECT_EQ(list->maxVisibleItems(), list->count());
        for (int i = 0; i < list->count(); ++i)
            EXPECT_LE(list->view()->fontMetrics().horizontalAdvance(list->itemText(i)),
                      std::max(list->view()->minimumWidth(), list->width()))
                << "the open list cuts " << list->itemText(i).toStdString();
        const int fitted = list == f.coEquat ? core::FunctionCount : list->count();
        const int shown = list->ItemIndex();
        for (int i = 0; i < fitted; ++i) {
            // The method list fits the font to the item shown.
            if (list == f.coMetOpt)
                list->ChooseItem(i);
            EXPECT_LE(ListTextWidth(list, list->itemText(i)), ListTextRoom(list))
                << list->itemText(i).toStdString();
        }
        list->ChooseItem(shown);
    }
    // Check boxes, buttons and group titles.
    for (const QCheckBox* check : {f.cbTrnpLL, f.cbStMark, f.cbDrSmal, f.cbDrAxis, f.cbDrBig,
                                   f.cbDrNumb, f.cbLrBias, f.cbLrVect}) {
        EXPECT_LE(check->sizeHint().width(), check->width()) << check->text().toStdString();
    }
    for (const QPushButton* button : {f.bbDrMpCl, f.bbDrMpLL, f.bbDrGrid, f.bbIterat}) {
        const double needed = QFontMetricsF(button->font()).horizontalAdvance(button->text()) +
                              (button->icon().isNull() ? 0 : 16 + 4);
        EXPECT_LE(needed + 8, button->width()) << button->text().toStdString();
    }
    for (const QGroupBox* group : {f.gbLstSet, f.gbBegPar, f.gbPrLeLi, f.gbLearn, f.gbColors,
                                   f.gbDrwPar, f.gbWhatDr, f.gbTraceF}) {
        const double width = QFontMetricsF(group->font()).horizontalAdvance(group->title());
        EXPECT_LE(width + 16, group->width()) << group->title().toStdString();
    }
    const QTabBar* tabs = f.pcMnPage->TabBar();
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), f.pcMnPage->width());
}

// The group of the methods of machine learning takes the level lines' place below the start's
// group, within the page, while one of them is chosen or the noise is on; its fields of those
// methods are enabled only with them.
TEST_F(MainFormTest, TheLearningGroupStandsInForTheLevelLinesGroup) {
    CreateForm();
    form->show();
    testsupport::TestWindow& f = *form;
    EXPECT_GE(f.gbLearn->y(), f.gbBegPar->geometry().bottom());
    EXPECT_LE(f.gbLearn->geometry().bottom(), f.tsParam->height());
    const struct {
        int item;
        const char* noise;
        bool shown;
        bool learning;
    } cases[] = {{0, "0", false, false},
                 {12, "0", true, true},
                 {16, "0.1", true, true},
                 {8, "0.1", true, false},
                 {8, "0", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("item " + std::to_string(c.item) + ", noise " + c.noise);
        f.meLrNois->SetText(c.noise);
        f.coMetOpt->ChooseItem(c.item);
        EXPECT_EQ(f.gbLearn->isVisible(), c.shown);
        EXPECT_EQ(f.gbPrLeLi->isVisible(), !c.shown);
        EXPECT_EQ(f.meLrRate->isEnabled(), c.learning);
        EXPECT_EQ(f.cbLrBias->isEnabled(), c.learning);
        EXPECT_TRUE(f.meLrNois->isEnabled());
    }
    // A lab with noise and a classic method opens with the group shown.
    app::TLab lab;
    lab.settings.method = 8;
    lab.settings.noise = "0.5";
    f.ApplyLab(lab);
    EXPECT_TRUE(f.gbLearn->isVisible());
    EXPECT_FALSE(f.meLrRate->isEnabled());
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
    const QTabBar* tabs = form->pcMnPage->TabBar();
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), form->pcMnPage->width());
}

}  // namespace
}  // namespace metopt::ui
