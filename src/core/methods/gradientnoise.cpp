#include "core/methods/gradientnoise.h"

#include <cmath>

#include "runtime/fpu.h"

namespace metopt::core::methods {

long double TNoiseSource::Uniform() {
    // The top 53 bits, as a whole number, then scaled: exact in any binary floating point.
    const auto bits = static_cast<long double>(engine_() >> 11);
    return bits * 0x1p-52L - 1;
}

void TNoiseSource::Disturb(long double& gx, long double& gy) {
    long double u = 0;
    long double v = 0;
    long double s = 0;
    do {
        u = Uniform();
        v = Uniform();
        s = u * u + v * v;
    } while (s >= 1 || s == 0);
    const long double factor = std::sqrt(-2 * runtime::LnX87(s) / s);
    runtime::ClearFpuFlags();
    gx = gx + sigma_ * (u * factor);
    gy = gy + sigma_ * (v * factor);
    runtime::CheckFpu();
}

}  // namespace metopt::core::methods
