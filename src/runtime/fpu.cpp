#include "runtime/fpu.h"

#include <cfenv>
#include <cmath>

#include "runtime/exceptions.h"

namespace metopt::runtime {

namespace {
// Round to nearest, 64-bit significand, every exception masked (flags only, no traps).
constexpr unsigned short ExtendedControlWord = 0x037F;
constexpr int CheckedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
// 2^63: sine and cosine of larger arguments give 0, as the x87 instructions leave them unreduced.
constexpr long double TrigLimit = 9223372036854775808.0L;
}  // namespace

void InitFpu() {
    unsigned short cw = ExtendedControlWord;
    asm volatile("fldcw %0" : : "m"(cw));
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
}

void ClearFpuFlags() { std::feclearexcept(FE_ALL_EXCEPT); }

void CheckFpu() {
    const int raised = std::fetestexcept(CheckedFlags);
    if (raised == 0) return;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (raised & FE_INVALID) throw EInvalidOp();
    if (raised & FE_DIVBYZERO) throw EZeroDivide();
    throw EOverflow();
}

long double Sin(long double x) { return std::fabs(x) >= TrigLimit ? 0.0L : sinl(x); }
long double Cos(long double x) { return std::fabs(x) >= TrigLimit ? 0.0L : cosl(x); }

}  // namespace metopt::runtime
