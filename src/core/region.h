#pragma once

namespace metopt::core {

// A rectangle of the plane: x from Xb (left) to Xe (right), y from Yb (bottom) to Ye (top).
struct TRegion {
    long double Xb = 0;
    long double Xe = 0;
    long double Yb = 0;
    long double Ye = 0;
};

}  // namespace metopt::core
