#pragma once
// Level lines over the picture: borders of the map's colours, or pixels near multiples of a step.
#include <cstdint>
#include <string>

#include "platform/canvas.h"
#include "render/drawcontext.h"

namespace metopt::render {

struct LevelLineOptions {
    std::string stepText = "5.0";    // meStLeLi: S, levels per unit of z
    std::string widthText = "0.05";  // meWdLeLi: D, half-width in units of z*S
    bool transparent = false;        // cbTrnpLL
};

// How the lines are found; the list's item index 0 or 1, and no item (any other index) draws
// nothing. Deliberate: see docs/behaviour.md, "No list item".
enum class LevelLineMethod { None, Analysis, Threshold };
LevelLineMethod LevelLineMethodOf(std::int32_t itemIndex);

// LevelLinesByAnalysis or LevelLinesByThreshold, or nothing.
void DrawLevelLines(platform::Canvas& canvas, const DrawContext& context, LevelLineMethod method,
                    const LevelLineOptions& options);
// Each pixel compared with its neighbours as the picture was before the pass; after a scan that
// found undefined samples (see ScanValueRange), a pixel whose cell (it and those neighbours) has
// one is on no line. The rows are done on `threads` threads (SamplingThreads() by default), from
// a copy of the picture; the status texts, the Stop checks and the picture are those of the
// one-thread pass.
void LevelLinesByAnalysis(platform::Canvas& canvas, const DrawContext& context,
                          const LevelLineOptions& options);
void LevelLinesByAnalysis(platform::Canvas& canvas, const DrawContext& context,
                          const LevelLineOptions& options, unsigned threads);
// The values come from the scan's kept samples while they hold (KeptSamples), otherwise from the
// function; an undefined sample is on no line. Those of a pure function on `threads` threads
// (SamplingThreads() by default), with the status texts and the picture, also when a pixel fails,
// of the one-thread pass.
void LevelLinesByThreshold(platform::Canvas& canvas, const DrawContext& context,
                           const LevelLineOptions& options);
void LevelLinesByThreshold(platform::Canvas& canvas, const DrawContext& context,
                           const LevelLineOptions& options, unsigned threads);

}  // namespace metopt::render
