// The comparison of methods in the window: the menu "Работа" → "Сравнивать методы" and
// "Сравнить методы", the command that runs and animates the chosen methods, and the page
// "Сходимость" with its chart and table.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTextCursor>
#include <QVBoxLayout>
#include <memory>

#include "app/convergence.h"
#include "core/methods/comparison.h"
#include "core/runreport.h"
#include "platform/convergencechart.h"
#include "platform/dropdown.h"
#include "platform/pagecontrol.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "render/comparisontrace.h"
#include "render/savedpicture.h"
#include "render/trace.h"
#include "runtime/numformat.h"
#include "ui/designcontrols.h"
#include "ui/drawingcommand.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

constexpr const char* TableColumns[] = {"Метод",         "Итераций", "Остановка", "f", "градиент",
                                        "матрица Гессе", "x*",       "y*",        "z*"};

// A cell that sorts by its number, not by its text.
class NumberCell final : public QTableWidgetItem {
  public:
    NumberCell(const QString& text, double key) : QTableWidgetItem(text) {
        setData(Qt::UserRole, key);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

QTableWidgetItem* Cell(const std::string& text) {
    return new QTableWidgetItem(QString::fromStdString(text));
}

QTableWidgetItem* Cell(long double value) {
    return new NumberCell(QString::fromStdString(runtime::FormatGeneral(value)),
                          static_cast<double>(value));
}

QTableWidgetItem* Cell(std::uint64_t value) {
    return new NumberCell(QString::number(value), static_cast<double>(value));
}

}  // namespace

void TfmMnForm::CreateComparisonMenu() {
    mmuWkCmpS = Named(mmuWork->addMenu(QStringLiteral("Сравнивать методы")), "mmuWkCmpS");
    for (std::size_t i = 0; i < mmdWkCmp.size(); ++i) {
        const std::string name = "mmdWkCmp" + std::to_string(i);
        mmdWkCmp[i] =
            Named(mmuWkCmpS->addAction(QString::fromUtf8(core::MethodCaptions[i])), name.c_str());
        mmdWkCmp[i]->setCheckable(true);
    }
    for (const core::TMethod method : core::DefaultComparedMethods)
        mmdWkCmp[static_cast<std::size_t>(core::ItemOf(method))]->setChecked(true);
    mmdWkCmpR = Named(mmuWork->addAction(QStringLiteral("Сравнить методы")), "mmdWkCmpR");
    mmdWkCmpR->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
}

void TfmMnForm::Compare(const std::vector<int>& methods) {
    for (std::size_t i = 0; i < mmdWkCmp.size(); ++i) {
        mmdWkCmp[i]->setChecked(std::find(methods.begin(), methods.end(), static_cast<int>(i)) !=
                                methods.end());
    }
    mmdWkCmpR->trigger();
}

void TfmMnForm::mmdWkCmpRClick() {
    const app::TSettings settings = Settings();
    app::CompileProblem(session_, settings);
    const DrawingCommand command(*this);
    StartRun(app::PrepareRun(session_, settings, pbDrawAr->Surface(), progress_, true));
}

void TfmMnForm::CreateConvergencePage() {
    tsConv = Named(pcMnPage->AddPage(QStringLiteral("Сходимость")), "tsConv");
    auto* layout = new QVBoxLayout(tsConv);
    layout->setContentsMargins(4, 4, 4, 4);
    coConvKind = Named(new platform::DropDown(tsConv), "coConvKind");
    for (const char* item : app::ConvergenceKindItems)
        coConvKind->AddItem(item);
    coConvKind->SetItemIndex(0);
    coConvKind->lineEdit()->setReadOnly(true);
    coConvKind->OnChange = [this] { UpdateConvergencePage(); };
    chConv = Named(new platform::ConvergenceChart(tsConv), "chConv");
    twCompare =
        Named(new QTableWidget(0, static_cast<int>(std::size(TableColumns)), tsConv), "twCompare");
    QStringList headers;
    for (const char* column : TableColumns)
        headers << QString::fromUtf8(column);
    twCompare->setHorizontalHeaderLabels(headers);
    twCompare->setEditTriggers(QAbstractItemView::NoEditTriggers);
    twCompare->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(coConvKind);
    layout->addWidget(chConv, 3);
    layout->addWidget(twCompare, 2);
}

void TfmMnForm::UpdateConvergencePage() {
    const int index = std::max(0, coConvKind->ItemIndex());
    const app::ConvergenceLines lines =
        app::ConvergenceOfSession(session_, static_cast<app::ConvergenceKind>(index));
    chConv->Show(QString::fromUtf8(app::ConvergenceKindItems[index]), lines.lines, lines.floor);

    twCompare->setSortingEnabled(false);
    twCompare->setRowCount(0);
    if (!session_.ShowsComparison)
        return;
    const std::vector<app::ComparisonRowData> rows = app::ComparisonRows(session_.Comparison);
    twCompare->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const app::ComparisonRowData& row = rows[r];
        const int i = static_cast<int>(r);
        twCompare->setItem(i, 0, Cell(row.name));
        twCompare->setItem(i, 1, Cell(std::uint64_t{row.iterations}));
        twCompare->setItem(i, 2, Cell(row.stop));
        if (row.counted) {
            twCompare->setItem(i, 3, Cell(row.counts.values));
            twCompare->setItem(i, 4, Cell(row.counts.gradients));
            twCompare->setItem(i, 5, Cell(row.counts.hessians));
            twCompare->setItem(i, 6, Cell(row.x));
            twCompare->setItem(i, 7, Cell(row.y));
        }
        if (row.hasPoint)
            twCompare->setItem(i, 8, Cell(row.z));
    }
    twCompare->setSortingEnabled(true);
}

}  // namespace metopt::ui
