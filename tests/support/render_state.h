#pragma once
// A fixture for the drawing modules: every module's state back at its start value before and
// after each test, and the status texts recorded.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/functions.h"
#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/hooks.h"
#include "render/trace.h"
#include "render/valuescan.h"
#include "render/viewreset.h"
#include "runtime/fpu.h"

namespace metopt::testsupport {

// Whether two extended reals are the same value, bit for bit (its ten bytes, not the padding).
inline bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// The default fields with the region Xb, Xe, Yb, Ye.
inline render::GraphFieldTexts Region(const char* xb, const char* xe, const char* yb,
                                      const char* ye) {
    render::GraphFieldTexts fields;
    fields.Xb = xb;
    fields.Xe = xe;
    fields.Yb = yb;
    fields.Ye = ye;
    return fields;
}

class RenderStateTest : public ::testing::Test {
  protected:
    // The design size of the drawing area.
    static constexpr int DesignW = 448;
    static constexpr int DesignH = 412;

    void SetUp() override {
        runtime::InitFpu();
        ResetAll();
        render::SetStatusSink([this](const std::string& text) { statuses.push_back(text); });
    }
    void TearDown() override { ResetAll(); }

    static void SetEntry(int i, std::int32_t r, std::int32_t g, std::int32_t b) {
        palette::Palette[i] = {palette::PackColor(r, g, b), r, g, b};
    }
    static void SetEntry(int i, std::int32_t packed) {
        SetEntry(i, packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
    }

    // The sampled pixels of the design size.
    static void UseDesignSize() {
        render::MapCols = DesignW - 2;
        render::MapRows = DesignH - 2;
    }

    // An area of W x H whose columns sample x = xb .. xe, scanned with the function in CurrentFunc;
    // the scan's status texts are dropped.
    void ScanArea(int W, int H, const char* xb, const char* xe) {
        render::MapCols = W - 2;
        render::MapRows = H - 2;
        render::GraphFieldTexts fields;
        fields.Xb = xb;
        fields.Xe = xe;
        render::ScanValueRange(fields);
        statuses.clear();
    }

    std::vector<std::string> statuses;

  private:
    static void ResetAll() {
        render::ResetHooks();
        render::ResetViewport();
        render::ResetTrace();
        palette::ResetPalette();
        core::ResetFunctions();
        core::ResetMinimizer();
    }
};

}  // namespace metopt::testsupport
