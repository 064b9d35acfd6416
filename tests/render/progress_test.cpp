#include "render/progress.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/fpu.h"

namespace metopt::render {
namespace {

TEST(RowPercentTest, TruncatedShareOfTheRows) {
    struct Case {
        std::int32_t row, rows;
        const char* text;
    };
    const Case cases[] = {{1, 410, "0"},    {410, 410, "100"}, {1, 3, "33"}, {2, 3, "66"},
                          {205, 410, "50"}, {409, 410, "99"},  {1, 1, "100"}};
    for (const Case& c : cases) {
        EXPECT_EQ(RowPercent(c.row, c.rows), c.text) << c.row << " of " << c.rows;
    }
}

class RowProgressTest : public testsupport::RenderStateTest {};

TEST_F(RowProgressTest, ShowsThePrefixThePercentageAndTheSign) {
    ShowRowProgress(progress, "Расчет значений функции: ", 1, 3);
    ShowRowProgress(progress, "x ", 3, 3);
    EXPECT_EQ(statuses, (std::vector<std::string>{"Расчет значений функции: 33%", "x 100%"}));
}

}  // namespace
}  // namespace metopt::render
