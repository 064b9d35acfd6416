#include "render/savedpicture.h"

#include "runtime/exceptions.h"

namespace metopt::render {

void SaveBackingImage(TSavedPicture& saved, const platform::Canvas& canvas) {
    const int W = canvas.Width();
    const int H = canvas.Height();
    saved.BackingImage = std::make_unique<platform::Canvas>(W, H);  // the previous one released
    saved.BackingRect = TRect{0, 0, W, H};
    saved.BackingImage->CopyRect(canvas, saved.BackingRect.Left, saved.BackingRect.Top, W, H);
}

void RestoreBackingImage(const TSavedPicture& saved, platform::Canvas& canvas,
                         TGraphParams& GraphParams, const GraphFieldTexts& fields) {
    const TRect& rect = saved.BackingRect;
    if (saved.BackingImage) {
        canvas.CopyRect(*saved.BackingImage, rect.Left, rect.Top, rect.Right - rect.Left,
                        rect.Bottom - rect.Top);
    }
    // A repaint must never fail: a field that cannot be read now is reported by the next grid
    // drawing, not on every repaint.
    // Deliberate: see docs/behaviour.md, "Repaint never fails".
    try {
        RefreshGraphParams(GraphParams, fields, 0, 0, canvas.Width(), canvas.Height());
    } catch (const runtime::Exception&) {
    }
}

}  // namespace metopt::render
