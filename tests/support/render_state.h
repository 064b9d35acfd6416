#pragma once
// A fixture for the drawing modules: every module's state back at its start value before and
// after each test, and the status texts recorded.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/functions.h"
#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/hooks.h"
#include "render/trace.h"
#include "render/viewport.h"
#include "runtime/fpu.h"

namespace metopt::testsupport {

class RenderStateTest : public ::testing::Test {
  protected:
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
