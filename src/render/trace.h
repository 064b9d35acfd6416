#pragma once
// The descent trace over the picture, the cross at the smallest sample, and the backing image that
// every command saves and every repaint puts back.
#include <cstdint>
#include <memory>

#include "platform/canvas.h"
#include "render/fieldtexts.h"

namespace metopt::render {

extern std::unique_ptr<platform::Canvas> BackingImage;
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
extern TRect BackingRect;

void ResetTrace();

void DrawMinMarker(platform::Canvas& canvas);
// Trace point n (1 <= n <= TraceCount) with its segment to point n - 1 and the status text
// "Точка трассы #n из N".
void DrawTracePoint(platform::Canvas& canvas, std::int32_t n);

// Drawing area -> a new BackingImage of the area's size (the previous one released).
void SaveBackingImage(const platform::Canvas& canvas);
// BackingImage -> drawing area, then the GraphParams refresh of an empty DrawGrid. Never raises.
void RestoreBackingImage(platform::Canvas& canvas, const GraphFieldTexts& fields);

}  // namespace metopt::render
