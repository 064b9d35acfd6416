// The page "Ограничения" (the constraints, one per line, and the fields of the outer loop) and the
// menu "Работа" → "Учёт ограничений", which chooses how the runs take the constraints into
// account.
#include <QActionGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

#include "app/settings.h"
#include "core/constrained/constraintmethod.h"
#include "core/runreport.h"
#include "platform/memo.h"
#include "platform/pagecontrol.h"
#include "platform/textfield.h"
#include "ui/designcontrols.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

const char* const ConstraintHint =
    "По одному в строке: выражение <= выражение, выражение >= выражение или выражение = "
    "выражение, в языке формул (определения после запятой). Не больше 16.";

QString MethodText(int item) {
    return QStringLiteral("Учёт ограничений (меню «Работа»): ") +
           QString::fromUtf8(core::ConstraintMethodCaptions[item]);
}

}  // namespace

void TfmMnForm::CreateConstraintMenu() {
    mmuWkCnst = Named(mmuWork->addMenu(QStringLiteral("Учёт ограничений")), "mmuWkCnst");
    auto* methods = new QActionGroup(this);
    for (std::size_t i = 0; i < mmdWkCnMt.size(); ++i) {
        const std::string name = "mmdWkCnMt" + std::to_string(i);
        mmdWkCnMt[i] =
            Named(mmuWkCnst->addAction(QString::fromUtf8(core::ConstraintMethodCaptions[i])),
                  name.c_str());
        mmdWkCnMt[i]->setCheckable(true);
        methods->addAction(mmdWkCnMt[i]);
        connect(mmdWkCnMt[i], &QAction::toggled, this, [this, i](bool on) {
            if (on && lbCnMeth)
                lbCnMeth->setText(MethodText(static_cast<int>(i)));
        });
    }
    mmdWkCnMt[0]->setChecked(true);
}

void TfmMnForm::CreateConstraintPage() {
    tsConstr = Named(pcMnPage->AddPage(QStringLiteral("Ограничения")), "tsConstr");
    auto* layout = new QVBoxLayout(tsConstr);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* list = MakeGroup(tsConstr, "gbCnList", " Ограничения ", 0, 0, 448, 200, 8);
    auto* listLayout = new QVBoxLayout(list);
    lbCnHint = Named(new QLabel(QString::fromUtf8(ConstraintHint), list), "lbCnHint");
    lbCnHint->setWordWrap(true);
    mmCnList = Named(new platform::Memo(list), "mmCnList");
    mmCnList->setLineWrapMode(QPlainTextEdit::NoWrap);
    listLayout->addWidget(lbCnHint);
    listLayout->addWidget(mmCnList, 1);
    layout->addWidget(list, 1);

    auto* method = MakeGroup(tsConstr, "gbCnMeth", " Внешний цикл ", 0, 0, 448, 160, 8);
    auto* form = new QFormLayout(method);
    const core::DescentFields start;
    lbCnMeth = Named(new QLabel(MethodText(0), method), "lbCnMeth");
    lbCnMeth->setWordWrap(true);
    meCnR0 = MakeField(method, "meCnR0", start.penaltyStart, 0, 0, 129, 21);
    meCnGr = MakeField(method, "meCnGr", start.penaltyGrowth, 0, 0, 129, 21);
    meCnEps = MakeField(method, "meCnEps", start.outerEps, 0, 0, 129, 21);
    cbCnHatch = MakeCheck(method, "cbCnHatch",
                          "Штриховать недопустимую часть карты (иначе она "
                          "затемнена)",
                          false, 0, 0, 400, 21);
    form->addRow(lbCnMeth);
    form->addRow(QStringLiteral("Начальный коэффициент  r0 ="), meCnR0);
    form->addRow(QStringLiteral("Рост коэффициента  C ="), meCnGr);
    form->addRow(QStringLiteral("Точность внешнего цикла  eps ="), meCnEps);
    form->addRow(new QLabel(QStringLiteral("Внешних итераций не больше 50."), method));
    form->addRow(cbCnHatch);
    layout->addWidget(method);
}

core::TConstraintMethod TfmMnForm::ConstraintMethodChoice() const {
    return static_cast<core::TConstraintMethod>(std::max(0, CheckedItem(mmdWkCnMt)));
}

void TfmMnForm::ChooseConstraintMethod(core::TConstraintMethod method) {
    // A lab file may name no item.
    const int item = std::clamp(static_cast<int>(method), 0, core::ConstraintMethodCount - 1);
    mmdWkCnMt[static_cast<std::size_t>(item)]->trigger();
}

}  // namespace metopt::ui
