#include "render/graphparams.h"
#include "support/expect_error.h"
#include "support/render_state.h"

#include <gtest/gtest.h>

#include "render/fieldtexts.h"
#include "runtime/exceptions.h"

namespace metopt::render {
namespace {

class GraphParamsTest : public testsupport::RenderStateTest {
  protected:
    // The parameters of the default fields over the design area.
    static TGraphParams DesignParams() {
        TGraphParams p;
        p.Xb = p.Yb = -1.3L;
        p.Xe = p.Ye = 1.3L;
        p.Xc = p.Yc = 0;
        p.Xs = p.Ys = 0.2L;
        p.SgXs = p.SgYs = 2;
        p.Left = p.Top = 1;
        p.Right = 447;
        p.Bottom = 411;
        return p;
    }

    void ExpectParams(const TGraphParams& want) const {
        const TGraphParams& p = plot.GraphParams;
        EXPECT_EQ(p.Xb, want.Xb);
        EXPECT_EQ(p.Yb, want.Yb);
        EXPECT_EQ(p.Xe, want.Xe);
        EXPECT_EQ(p.Ye, want.Ye);
        EXPECT_EQ(p.Xc, want.Xc);
        EXPECT_EQ(p.Yc, want.Yc);
        EXPECT_EQ(p.Xs, want.Xs);
        EXPECT_EQ(p.Ys, want.Ys);
        EXPECT_EQ(p.SgXs, want.SgXs);
        EXPECT_EQ(p.SgYs, want.SgYs);
        EXPECT_EQ(p.Left, want.Left);
        EXPECT_EQ(p.Top, want.Top);
        EXPECT_EQ(p.Right, want.Right);
        EXPECT_EQ(p.Bottom, want.Bottom);
    }
};

TEST_F(GraphParamsTest, ReadGraphParamsReadsEveryField) {
    GraphFieldTexts fields;
    fields.Xc = "0.5";
    fields.Ys = "0.25";
    fields.SgYs = "3";
    ReadGraphParams(plot.GraphParams, fields, 0, 0, DesignW, DesignH);

    TGraphParams want = DesignParams();
    want.Xc = 0.5L;
    want.Ys = 0.25L;
    want.SgYs = 3;
    ExpectParams(want);
}

TEST_F(GraphParamsTest, TheRectangleStartsOnePastTheAreasCorner) {
    ReadGraphParams(plot.GraphParams, GraphFieldTexts{}, 10, 20, 100, 50);
    TGraphParams want = DesignParams();
    want.Left = 11;
    want.Top = 21;
    want.Right = 109;
    want.Bottom = 69;
    ExpectParams(want);
}

TEST_F(GraphParamsTest, BadCountRaisesWithRealsNewAndCountsAndRectangleOld) {
    ReadGraphParams(plot.GraphParams, GraphFieldTexts{}, 0, 0, DesignW, DesignH);
    GraphFieldTexts fields;
    fields.Xb = "-2";
    fields.Ys = "0.5";
    fields.SgXs = "5";
    fields.SgYs = "2x";
    testsupport::ExpectError<runtime::EConvertError>(
        [&] { ReadGraphParams(plot.GraphParams, fields, 0, 0, 100, 50); },
        "'2x' is not a valid integer value");
    TGraphParams want = DesignParams();
    want.Xb = -2;
    want.Ys = 0.5L;
    ExpectParams(want);
}

TEST_F(GraphParamsTest, RefreshKeepsLastGoodCountsAndNeverRaises) {
    ReadGraphParams(plot.GraphParams, GraphFieldTexts{}, 0, 0, DesignW, DesignH);
    GraphFieldTexts fields;
    fields.Xb = "-3";
    fields.SgXs = "abc";
    fields.SgYs = "4";
    EXPECT_NO_THROW(RefreshGraphParams(plot.GraphParams, fields, 0, 0, 100, 50));
    EXPECT_NO_THROW(RefreshGraphParams(plot.GraphParams, fields, 0, 0, 100, 50));

    TGraphParams want = DesignParams();
    want.Xb = -3;
    want.SgYs = 4;
    want.Right = 99;
    want.Bottom = 49;
    ExpectParams(want);
}

}  // namespace
}  // namespace metopt::render
