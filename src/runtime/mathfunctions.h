#pragma once
// The C library's elementary functions with their faults raised by one rule on every system: a
// pole raises division by zero, an argument outside the domain the invalid operation, a finite
// argument whose result is too large overflow. (MinGW-w64's functions set errno and return the
// special value without raising the flag; glibc's raise it. The values are the C library's.)

namespace metopt::runtime {

long double Ln(long double x);
long double Lg(long double x);
long double Sqrt(long double x);
long double Exp(long double x);
long double Sinh(long double x);
long double Cosh(long double x);
long double Asin(long double x);
long double Acos(long double x);
long double Power(long double base, long double exponent);

}  // namespace metopt::runtime
