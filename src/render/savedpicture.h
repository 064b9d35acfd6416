#pragma once
// The picture of the drawing area that every command saves and every repaint puts back.
#include <memory>

#include "platform/canvas.h"
#include "render/fieldtexts.h"
#include "render/graphparams.h"

namespace metopt::render {

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Nothing saved until the first save. The window owns one.
struct TSavedPicture {
    std::unique_ptr<platform::Canvas> BackingImage;
    TRect BackingRect;
};

// Drawing area -> a new BackingImage of the area's size (the previous one released).
void SaveBackingImage(TSavedPicture& saved, const platform::Canvas& canvas);
// BackingImage -> drawing area, then the GraphParams refresh of an empty DrawGrid. Never raises.
void RestoreBackingImage(const TSavedPicture& saved, platform::Canvas& canvas,
                         TGraphParams& GraphParams, const GraphFieldTexts& fields);

}  // namespace metopt::render
