#pragma once
// A fixture for the drawing modules: fresh state for each test (plot, palette, descent, saved
// picture), and a progress that records the status texts and holds a Stop flag.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/minimizer.h"
#include "palette/palette.h"
#include "render/coordinates.h"
#include "render/drawcontext.h"
#include "render/fieldtexts.h"
#include "render/plot.h"
#include "render/progress.h"
#include "render/savedpicture.h"
#include "render/valuescan.h"
#include "runtime/exceptions.h"
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

// Whether the plot's function cannot be evaluated at pixel (col, row): what a map leaves out.
inline bool UndefinedAt(const render::TPlot& plot, std::int32_t col, std::int32_t row) {
    try {
        render::ValueAtPixel(plot, col, row);
    } catch (const runtime::Exception&) {
        return true;
    }
    return false;
}

// The sampled pixels where the plot's function cannot be evaluated.
inline std::int64_t CountUndefined(const render::TPlot& plot) {
    std::int64_t count = 0;
    for (std::int32_t row = 1; row <= plot.MapRows; ++row) {
        for (std::int32_t col = 1; col <= plot.MapCols; ++col)
            count += UndefinedAt(plot, col, row) ? 1 : 0;
    }
    return count;
}

// The status texts shown, and the Stop flag the passes read.
class RecordingProgress final : public render::Progress {
  public:
    void ShowStatus(const std::string& text) override {
        statuses.push_back(text);
        if (onStatus)
            onStatus();
    }
    bool StopRequested() const override { return stop; }

    std::vector<std::string> statuses;
    bool stop = false;
    std::function<void()> onStatus;  // called after each text is recorded
};

class RenderStateTest : public ::testing::Test {
  protected:
    // The design size of the drawing area.
    static constexpr int DesignW = 448;
    static constexpr int DesignH = 412;

    // A test's own function, evaluated on the calling thread in scan order as any impure one is.
    static core::TPlottedFunc Impure(core::TObjectiveFunc f) { return {f, false, nullptr}; }

    void SetEntry(int i, std::int32_t r, std::int32_t g, std::int32_t b) {
        Palette[static_cast<std::size_t>(i)] = {palette::PackColor(r, g, b), r, g, b};
    }
    void SetEntry(int i, std::int32_t packed) {
        SetEntry(i, packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
    }

    // The sampled pixels of the design size.
    void UseDesignSize() {
        plot.MapCols = DesignW - 2;
        plot.MapRows = DesignH - 2;
    }

    // An area of W x H whose columns sample x = xb .. xe, scanned with the plot's CurrentFunc;
    // the scan's status texts are dropped.
    void ScanArea(int W, int H, const char* xb, const char* xe) {
        plot.MapCols = W - 2;
        plot.MapRows = H - 2;
        render::GraphFieldTexts fields;
        fields.Xb = xb;
        fields.Xe = xe;
        render::ScanValueRange(plot, samples, progress, fields);
        statuses.clear();
    }

    render::DrawContext Drawing() { return {plot, samples, Palette, progress}; }
    // The plot as the window starts it, but for the function it plots.
    void FreshPlot() {
        const core::TPlottedFunc function = plot.CurrentFunc;
        plot = render::TPlot{};
        samples = render::TSampleCache{};
        plot.CurrentFunc = function;
    }

    render::TPlot plot;
    render::TSampleCache samples;
    palette::TPalette Palette{};
    core::TDescent descent;
    render::TSavedPicture saved;
    RecordingProgress progress;
    std::vector<std::string>& statuses = progress.statuses;
};

}  // namespace metopt::testsupport
