#pragma once
// A pass over rows 1..n whose work is shared out over worker threads while the calling thread
// takes the rows in order.
#include <cstdint>
#include <functional>

namespace metopt::render {

// Rows 1..rows visited in order on the calling thread while their work is shared out over
// `threads` threads, the calling thread one of them (1: everything on the calling thread, each
// row's work right after its beforeRow). For each row in order, on the calling thread:
// beforeRow(row), which returns false to stop before that row; then, once the row's work is done,
// afterRow(row, failed), where failed says that the work raised. The work of a row that raised is
// raised again after its afterRow, with no later row visited. Workers run with the calling thread's
// floating-point environment and must touch nothing but their own rows' results.
struct RowPass {
    std::function<bool(std::int32_t row)> beforeRow;
    std::function<void(std::int32_t row)> work;
    std::function<void(std::int32_t row, bool failed)> afterRow;
};
// Returns the row before which beforeRow stopped, or 0 when every row was visited.
std::int32_t RunRowPass(std::int32_t rows, unsigned threads, const RowPass& pass);

}  // namespace metopt::render
