#pragma once
// The tables of line-search steps on the page "Одномерный поиск": read only, a column per value.
#include <QTableWidget>
#include <string>
#include <vector>

namespace metopt::ui {

QTableWidget* MakeStepTable(QWidget* parent, const char* name);
void ShowStepTable(QTableWidget& table, const std::vector<std::string>& columns,
                   const std::vector<std::vector<std::string>>& rows);

}  // namespace metopt::ui
