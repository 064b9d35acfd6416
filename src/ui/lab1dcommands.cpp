// "Своя функция одной переменной" on the page "Одномерный поиск": a function of x typed, an
// interval, eps and the interval methods checked; "Минимизировать" runs each (a few hundred
// values at most, at once) and shows the function with their trial points, the counts of values
// against eps and the steps of the method chosen.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/linesteptable.h"
#include "app/minimize1dcharts.h"
#include "app/minimize1dreport.h"
#include "platform/dropdown.h"
#include "platform/plotchart.h"
#include "platform/textfield.h"
#include "ui/designcontrols.h"
#include "ui/mainform.h"
#include "ui/steptable.h"

namespace metopt::ui {

namespace {

platform::TextField* MakeLabField(QWidget* parent, const char* name, const char* text) {
    return Named(new platform::TextField(parent, text), name);
}

void ShowChart(platform::PlotChart& chart, const app::TChart1D& data) {
    chart.Show(data.x, data.y, data.series);
}

}  // namespace

QWidget* TfmMnForm::CreateLab1D(QWidget* parent) {
    auto* lab = new QWidget(parent);
    auto* column = new QVBoxLayout(lab);
    column->setContentsMargins(0, 0, 0, 0);
    auto* fields = new QGridLayout;
    meLbFunc = MakeLabField(lab, "meLbFunc", "(x-2)^2");
    meLbA = MakeLabField(lab, "meLbA", "0");
    meLbB = MakeLabField(lab, "meLbB", "5");
    meLbEps = MakeLabField(lab, "meLbEps", "0.001");
    bbLbRun = Named(new QPushButton(QStringLiteral("Минимизировать"), lab), "bbLbRun");
    fields->addWidget(new QLabel(QStringLiteral("f(x) ="), lab), 0, 0);
    fields->addWidget(meLbFunc, 0, 1, 1, 5);
    fields->addWidget(new QLabel(QStringLiteral("a ="), lab), 1, 0);
    fields->addWidget(meLbA, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("b ="), lab), 1, 2);
    fields->addWidget(meLbB, 1, 3);
    fields->addWidget(new QLabel(QStringLiteral("eps ="), lab), 1, 4);
    fields->addWidget(meLbEps, 1, 5);
    column->addLayout(fields);
    auto* methods = new QGridLayout;
    for (std::size_t i = 0; i < cbLbMeth.size(); ++i) {
        const int search = static_cast<int>(core::IntervalMethods[i]);
        const std::string name = "cbLbMeth" + std::to_string(i);
        cbLbMeth[i] = Named(new QCheckBox(QString::fromUtf8(core::LineSearchCaptions[search]), lab),
                            name.c_str());
        cbLbMeth[i]->setChecked(true);
        methods->addWidget(cbLbMeth[i], static_cast<int>(i / 3), static_cast<int>(i % 3));
    }
    methods->addWidget(bbLbRun, 1, 2);
    column->addLayout(methods);

    tcLbView = Named(new QTabWidget(lab), "tcLbView");
    chLbFunc = Named(new platform::PlotChart(tcLbView), "chLbFunc");
    chLbCnt = Named(new platform::PlotChart(tcLbView), "chLbCnt");
    auto* steps = new QWidget(tcLbView);
    auto* stepColumn = new QVBoxLayout(steps);
    stepColumn->setContentsMargins(2, 2, 2, 2);
    coLbMeth = Named(new platform::DropDown(steps), "coLbMeth");
    coLbMeth->lineEdit()->setReadOnly(true);
    coLbMeth->OnChange = [this] { ShowLab1DSteps(); };
    lbLbRes = Named(new QLabel(steps), "lbLbRes");
    lbLbRes->setWordWrap(true);
    twLbStep = MakeStepTable(steps, "twLbStep");
    stepColumn->addWidget(coLbMeth);
    stepColumn->addWidget(lbLbRes);
    stepColumn->addWidget(twLbStep, 1);
    tcLbView->addTab(chLbFunc, QStringLiteral("Функция"));
    tcLbView->addTab(chLbCnt, QStringLiteral("Вычисления от eps"));
    tcLbView->addTab(steps, QStringLiteral("Шаги"));
    column->addWidget(tcLbView, 1);
    chLbFunc->ShowText(QStringLiteral("«Минимизировать»: функция и пробные точки методов"));
    chLbCnt->ShowText(
        QStringLiteral("«Минимизировать»: число вычислений f при eps от 1e-1 до 1e-12"));
    connect(bbLbRun, &QPushButton::clicked, this,
            [this] { platform::RunEvent([this] { bbLbRunClick(); }); });
    return lab;
}

void TfmMnForm::bbLbRunClick() {
    app::TMinimize1DFields fields{
        meLbFunc->Text(), meLbA->Text(), meLbB->Text(), meLbEps->Text(), {}};
    for (std::size_t i = 0; i < cbLbMeth.size(); ++i) {
        if (cbLbMeth[i]->isChecked())
            fields.methods.push_back(core::IntervalMethods[i]);
    }
    app::TMinimize1D lab = app::RunMinimize1D(fields);
    const std::vector<core::TCountRow> counts = app::CountsOfLab(lab);
    lab1D_ = std::move(lab);
    ShowChart(*chLbFunc, app::FunctionChart(*lab1D_));
    ShowChart(*chLbCnt, app::CountsChart(app::MethodsOfLab(*lab1D_), counts));
    coLbMeth->clear();
    for (const core::TMinimum1D& result : lab1D_->results)
        coLbMeth->AddItem(core::LineSearchCaptions[static_cast<int>(result.method)]);
    coLbMeth->SetItemIndex(0);
    ShowLab1DSteps();
}

void TfmMnForm::ShowLab1DSteps() {
    const int index = coLbMeth->ItemIndex();
    if (!lab1D_ || index < 0 || static_cast<std::size_t>(index) >= lab1D_->results.size())
        return;
    const core::TMinimum1D& result = lab1D_->results[static_cast<std::size_t>(index)];
    lbLbRes->setText(QString::fromStdString(app::Minimize1DResultLine(result)));
    ShowStepTable(*twLbStep, app::LineStepColumns(result.method),
                  app::LineStepRows(result.method, result.steps));
}

}  // namespace metopt::ui
