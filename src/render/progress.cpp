#include "render/progress.h"

#include "runtime/fpu.h"
#include "runtime/numformat.h"
#include "runtime/rounding.h"

namespace metopt::render {

std::string RowPercent(std::int32_t row, std::int32_t rows) {
    runtime::ClearFpuFlags();
    long double hundredfold = static_cast<long double>(std::int64_t{row} * 100);
    runtime::Pin(hundredfold);
    long double share = hundredfold / static_cast<long double>(rows);
    runtime::Pin(share);
    runtime::CheckFpu();
    return runtime::FormatGeneral(runtime::IntPart(share));
}

void ShowRowProgress(Progress& progress, const char* prefix, std::int32_t row, std::int32_t rows) {
    progress.ShowStatus(prefix + RowPercent(row, rows) + "%");
}

}  // namespace metopt::render
