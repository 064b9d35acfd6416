#pragma once
// The 80-bit floating-point environment: rounding to nearest at 64-bit significand precision,
// errors detected through the exception flags rather than traps.

namespace metopt::runtime {

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

// Sine and cosine with the program's rule: an argument of magnitude 2^63 or more gives 0.
long double Sin(long double x);
long double Cos(long double x);

}  // namespace metopt::runtime
