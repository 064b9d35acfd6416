#pragma once
// Level lines over the picture: borders of the map's colours, or pixels near multiples of a step.
#include <cstdint>
#include <string>

#include "platform/canvas.h"

namespace metopt::render {

struct LevelLineOptions {
    std::string stepText = "5.0";    // meStLeLi: S, levels per unit of z
    std::string widthText = "0.05";  // meWdLeLi: D, half-width in units of z*S
    bool transparent = false;        // cbTrnpLL
};

// mode 0: LevelLinesByAnalysis, 1: LevelLinesByThreshold, other values nothing.
void DrawLevelLines(platform::Canvas& canvas, std::int32_t mode, const LevelLineOptions& options);
void LevelLinesByAnalysis(platform::Canvas& canvas, const LevelLineOptions& options);
void LevelLinesByThreshold(platform::Canvas& canvas, const LevelLineOptions& options);

}  // namespace metopt::render
