#pragma once
// The 80-bit floating-point environment: rounding to nearest at 64-bit significand precision,
// errors detected through the exception flags rather than traps.
#include <cfenv>

namespace metopt::runtime {

// The flags that CheckFpu reports: invalid, divide by zero, overflow.
constexpr int CheckedFpuFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
// The flag bits of the x87 status word and of MXCSR, which RaisedFaults reads.
static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08);

// Sets the x87 control word (round to nearest, 64-bit precision, all exceptions masked) and
// clears the flags. Called once at start; tests call it in their setup.
void InitFpu();

// Clears the exception flags (of the x87 unit, and of SSE when one that CheckFpu reports is set).
// Cheap: called before every evaluation.
void ClearFpuFlags();

// If the invalid, divide-by-zero or overflow flag is raised, clears the flags and throws
// EInvalidOp, EZeroDivide or EOverflow (in that order of precedence). Underflow, denormal and
// inexact never raise.
void CheckFpu();

// The CheckedFpuFaults among the flags raised, of the x87 unit and of SSE: what
// std::fetestexcept(CheckedFpuFaults) gives, read straight from the status word and MXCSR (whose
// flag bits are those of FE_*). MinGW-w64's fetestexcept asks CPUID whether SSE exists on every
// call, which under a hypervisor costs more than the evaluation it checks.
inline int RaisedFaults() {
    unsigned short status = 0;
    unsigned int mxcsr = 0;
    asm volatile("fnstsw %0" : "=m"(status) : : "memory");
    asm volatile("stmxcsr %0" : "=m"(mxcsr) : : "memory");
    return static_cast<int>((status | mxcsr) & CheckedFpuFaults);
}

// Holds a value in memory at this point, so that the compiler computes it neither before the
// flags are cleared nor after they are checked.
inline void Pin(long double& value) {
    asm volatile("" : "+m"(value) : : "memory");
}

// Raises the error that the given CheckedFpuFaults stand for, as CheckFpu would with only those
// flags raised; the flags are left clear.
[[noreturn]] void RaiseFaults(int faults);

// `value`, or the error of `faults` when they are not 0.
inline long double Checked(long double value, int faults) {
    if (faults != 0)
        RaiseFaults(faults);
    return value;
}

// Tracks the fault of the first step of a computation that raised one: what a trap at that step
// would report. (The flags alone, read at the end, would report the gravest of all the faults
// raised on the way: an overflow followed by inf * 0 would read as invalid.) Clears the flags when
// made and when it ends.
class FirstFault {
  public:
    FirstFault() { ClearFpuFlags(); }
    ~FirstFault() { ClearFpuFlags(); }
    FirstFault(const FirstFault&) = delete;
    FirstFault& operator=(const FirstFault&) = delete;

    // The result of one step, taken here and not later.
    long double Step(long double value) {
        Pin(value);
        if (faults_ == 0)
            faults_ = RaisedFaults();
        return value;
    }
    // The CheckedFpuFaults of the first step that raised any, or 0.
    int Faults() const { return faults_; }

  private:
    int faults_ = 0;
};

// Sine and cosine with the program's rule: an argument of magnitude 2^63 or more gives 0.
long double Sin(long double x);
long double Cos(long double x);
// The natural logarithm of a positive finite x by the x87 instruction itself (log2 x · ln 2), the
// same digits on every system; what needs digits that repeat everywhere takes it.
long double LnX87(long double x);

}  // namespace metopt::runtime
