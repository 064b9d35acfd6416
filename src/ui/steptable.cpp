#include "ui/steptable.h"

#include <QHeaderView>
#include <QStringList>

#include "ui/designcontrols.h"

namespace metopt::ui {

QTableWidget* MakeStepTable(QWidget* parent, const char* name) {
    auto* table = Named(new QTableWidget(0, 0, parent), name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

void ShowStepTable(QTableWidget& table, const std::vector<std::string>& columns,
                   const std::vector<std::vector<std::string>>& rows) {
    table.clear();
    table.setColumnCount(static_cast<int>(columns.size()));
    table.setRowCount(static_cast<int>(rows.size()));
    QStringList headers;
    for (const std::string& column : columns)
        headers << QString::fromStdString(column);
    table.setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            table.setItem(static_cast<int>(r), static_cast<int>(c),
                          new QTableWidgetItem(QString::fromStdString(rows[r][c])));
    }
}

}  // namespace metopt::ui
