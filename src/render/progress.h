#pragma once
// The progress texts of the passes over the rows of the picture.
#include <cstdint>
#include <string>

namespace metopt::render {

// The percentage text of row `row` of `rows` ("0", "33", "100").
std::string RowPercent(std::int32_t row, std::int32_t rows);

// ShowStatus(prefix + RowPercent(row, rows) + "%").
void ShowRowProgress(const char* prefix, std::int32_t row, std::int32_t rows);

}  // namespace metopt::render
