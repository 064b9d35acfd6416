// The group of the methods of machine learning on the parameters page: their learning rate and
// decays, Adam's bias correction, the noise of the gradients and the arrows of each step. It takes
// the place of the threshold level lines' group while one of those methods is chosen (or the
// noise is on), so that every control of the page stays where it has always been.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include "app/settings.h"
#include "core/methods/method.h"
#include "core/runreport.h"
#include "platform/dropdown.h"
#include "platform/textfield.h"
#include "ui/designcontrols.h"
#include "ui/mainform.h"

namespace metopt::ui {

void TfmMnForm::CreateLearningGroup() {
    gbLearn = MakeGroup(tsParam, "gbLearn", " Методы обучения ", 0, 326, 448, 84, 10);
    const core::DescentFields start;
    struct Cell {
        QLabel*& label;
        const char* labelName;
        const char* caption;
        platform::TextField*& field;
        const char* fieldName;
        std::string text;
    };
    // The five parameters in one row, each a label and a field of 86 pixels.
    const Cell row[] = {
        {lbLrRate, "lbLrRate", "α =", meLrRate, "meLrRate", start.learningRate},
        {lbLrMom, "lbLrMom", "β =", meLrMom, "meLrMom", start.momentum},
        {lbLrRho, "lbLrRho", "ρ =", meLrRho, "meLrRho", start.decay},
        {lbLrB1, "lbLrB1", "β1 =", meLrB1, "meLrB1", start.beta1},
        {lbLrB2, "lbLrB2", "β2 =", meLrB2, "meLrB2", start.beta2},
    };
    int left = 12;
    for (const Cell& cell : row) {
        cell.label = MakeLabel(gbLearn, cell.labelName, cell.caption, left, 20, 10);
        cell.field = MakeField(gbLearn, cell.fieldName, cell.text, left + 30, 18, 50, 21);
        left += 86;
    }
    lbLrNois = MakeLabel(gbLearn, "lbLrNois", "Шум градиента σ =", 12, 44, 10);
    meLrNois = MakeField(gbLearn, "meLrNois", start.noise, 156, 42, 96, 21);
    lbLrSeed = MakeLabel(gbLearn, "lbLrSeed", "Зерно", 270, 44, 10);
    meLrSeed = MakeField(gbLearn, "meLrSeed", start.seed, 328, 42, 110, 21);
    cbLrBias = MakeCheck(gbLearn, "cbLrBias", "Поправка смещения (Adam)", start.biasCorrection, 12,
                         65, 214, 17);
    cbLrVect = MakeCheck(gbLearn, "cbLrVect", "Показывать векторы шага",
                         app::TSettings{}.stepVectors, 236, 65, 204, 17);
    for (QCheckBox* check : {cbLrBias, cbLrVect})
        check->setFont(DesignFont(10));
    gbLearn->hide();
}

void TfmMnForm::ShowLearningGroup() {
    const std::optional<core::TMethod> method = core::MethodOfItem(coMetOpt->ItemIndex());
    const bool learning = method && core::IsLearningMethod(*method);
    const bool shown = learning || meLrNois->Text() != core::DescentFields{}.noise;
    gbLearn->setVisible(shown);
    gbPrLeLi->setVisible(!shown);
    // The noise applies to every method; the rest only to those of machine learning.
    for (QWidget* control : {static_cast<QWidget*>(lbLrRate), static_cast<QWidget*>(meLrRate),
                             static_cast<QWidget*>(lbLrMom), static_cast<QWidget*>(meLrMom),
                             static_cast<QWidget*>(lbLrRho), static_cast<QWidget*>(meLrRho),
                             static_cast<QWidget*>(lbLrB1), static_cast<QWidget*>(meLrB1),
                             static_cast<QWidget*>(lbLrB2), static_cast<QWidget*>(meLrB2),
                             static_cast<QWidget*>(cbLrBias), static_cast<QWidget*>(cbLrVect)})
        control->setEnabled(learning);
}

}  // namespace metopt::ui
