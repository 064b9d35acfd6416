// The one-variable lab's report in both decimal separators: the interval's ends stay apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/minimize1d.h"
#include "app/minimize1dreport.h"
#include "runtime/numformat.h"

namespace metopt::app {
namespace {

TEST(Minimize1DReportTest, TheIntervalsEndsStandApartInEitherSeparator) {
    const TMinimize1D lab =
        RunMinimize1D({"x*x", "-0.5", "1", "0.25", {core::TLineSearch::Golden}});
    const struct {
        char separator;
        const char* line;
    } cases[] = {{'.', "Отрезок: [-0.5, 1], eps = 0.25"}, {',', "Отрезок: [-0,5; 1], eps = 0,25"}};
    for (const auto& c : cases) {
        runtime::SetDecimalSeparator(c.separator);
        const std::vector<std::string> lines = Minimize1DReport(lab);
        runtime::SetDecimalSeparator('\0');
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1], c.line) << c.separator;
    }
}

}  // namespace
}  // namespace metopt::app
