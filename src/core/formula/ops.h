#pragma once
// The operations of a typed formula: what the parsed tree, the expression graph and the compiled
// program share, with the 80-bit evaluation of each. An evaluation raises the floating-point
// flags as the operation does; the caller checks them.
#include <cstdint>
#include <span>
#include <string_view>

namespace metopt::core::formula {

enum class Op : std::uint8_t {
    // Leaves.
    X,
    Y,
    Const,
    // One operand.
    Neg,
    Sin,
    Cos,
    Tan,
    Cot,
    Asin,
    Acos,
    Atan,
    Sinh,
    Cosh,
    Tanh,
    Exp,
    Ln,
    Lg,
    Sqrt,
    Abs,
    Sign,  // the derivative of abs: -1, 0 or 1; not a name of the language
    // Two operands.
    Add,
    Sub,
    Mul,
    Div,
    Pow,
    // A power with a whole exponent, computed by multiplication.
    PowWhole,
};

bool IsUnary(Op op);
bool IsBinary(Op op);

// A function name of the language (lower case) and its operation; several names share one.
struct FunctionName {
    std::string_view name;
    Op op;
};
std::span<const FunctionName> FunctionNames();
// The function called `name` (lower case), or Op::X when there is none.
Op FunctionNamed(std::string_view name);
// The name a printed formula uses for a function.
std::string_view PrintedName(Op op);

// The largest whole exponent a power takes by multiplication; larger ones go to runtime::Power.
constexpr std::int64_t MaxWholeExponent = 2147483647;

long double EvalUnary(Op op, long double a);
long double EvalBinary(Op op, long double a, long double b);
// x^n by repeated squaring; a negative n gives 1 / x^-n. x^2 is x*x to the last bit.
long double PowerWhole(long double x, std::int64_t n);

}  // namespace metopt::core::formula
