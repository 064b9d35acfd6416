#include "runtime/fpu.h"

#include <cmath>
#include <exception>

#include "runtime/exceptions.h"

namespace metopt::runtime {

namespace {
// Round to nearest, 64-bit significand, every exception masked (flags only, no traps).
constexpr unsigned short ExtendedControlWord = 0x037F;
// MXCSR: its six exception flag bits, and among them the three that CheckFpu reports (invalid,
// zero divide, overflow).
constexpr unsigned int SseFlagBits = 0x3F;
constexpr unsigned int SseCheckedFlagBits = 0x0D;
// 2^63: sine and cosine of larger arguments give 0, as the x87 instructions leave them unreduced.
constexpr long double TrigLimit = 9223372036854775808.0L;
}  // namespace

void InitFpu() {
    unsigned short cw = ExtendedControlWord;
    asm volatile("fldcw %0" : : "m"(cw));
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
}

// Runs once per sampled pixel, so it avoids the full environment store and load that
// feclearexcept does: fnclex clears the x87 flags, and MXCSR (the SSE flags, which CheckFpu also
// reads) is only rewritten when one of the flags that CheckFpu reports is set.
void ClearFpuFlags() {
    asm volatile("fnclex" : : : "memory");
    unsigned int mxcsr = 0;
    asm volatile("stmxcsr %0" : "=m"(mxcsr) : : "memory");
    if ((mxcsr & SseCheckedFlagBits) != 0) {
        mxcsr &= ~SseFlagBits;
        asm volatile("ldmxcsr %0" : : "m"(mxcsr) : "memory");
    }
}

void CheckFpu() {
    const int raised = RaisedFaults();
    if (raised == 0)
        return;
    ClearFpuFlags();
    if (raised & FE_INVALID)
        throw EInvalidOp();
    if (raised & FE_DIVBYZERO)
        throw EZeroDivide();
    throw EOverflow();
}

void RaiseFaults(int faults) {
    ClearFpuFlags();
    std::feraiseexcept(faults);
    CheckFpu();
    std::terminate();  // not reached: CheckFpu raises for any of the checked faults
}

// The x87 instructions themselves, whatever the C library's sinl and cosl do: they reduce the
// argument by their own 66-bit pi, and the program's digits are those of that arithmetic on every
// system. Below 2^63 the argument is always in their range.
long double Sin(long double x) {
    if (std::fabs(x) >= TrigLimit)
        return 0.0L;
    long double result;
    asm("fsin" : "=t"(result) : "0"(x));
    return result;
}
long double Cos(long double x) {
    if (std::fabs(x) >= TrigLimit)
        return 0.0L;
    long double result;
    asm("fcos" : "=t"(result) : "0"(x));
    return result;
}

long double LnX87(long double x) {
    long double result;
    asm("fldln2\n\tfxch\n\tfyl2x" : "=t"(result) : "0"(x));
    return result;
}

}  // namespace metopt::runtime
