// Coordinate descent: line searches along the axes, x and y in turn.
#include "core/methods/methodrun.h"

namespace metopt::core::methods {

// Each move is an iteration with its trace point; the stop rule compares whole cycles, the point
// after a y-move with the point before the x-move before it.
void RunCoordinateDescent(TMethodRun& run, Point start) {
    Point cycleStart = start;
    for (;;) {
        run.Begin();
        long double gx = 0;
        long double gy = 0;
        run.Gradient(cycleStart, gx, gy);
        const Point afterX = run.LineSearch(cycleStart, -gx, 0);
        if (run.EndWithoutRule(afterX))
            return;
        run.Begin();
        run.Gradient(afterX, gx, gy);
        const Point afterY = run.LineSearch(afterX, 0, -gy);
        if (run.End(cycleStart, afterY))
            return;
        cycleStart = afterY;
    }
}

}  // namespace metopt::core::methods
