#include "core/formula/ops.h"

#include <cmath>

#include "runtime/fpu.h"
#include "runtime/mathfunctions.h"

namespace metopt::core::formula {

namespace {

// 2^63: the tangent of a larger argument gives 0, as the sine does.
constexpr long double TrigLimit = 9223372036854775808.0L;

constexpr FunctionName Names[] = {
    {"sin", Op::Sin},     {"cos", Op::Cos},   {"tg", Op::Tan},      {"tan", Op::Tan},
    {"ctg", Op::Cot},     {"cot", Op::Cot},   {"arcsin", Op::Asin}, {"asin", Op::Asin},
    {"arccos", Op::Acos}, {"acos", Op::Acos}, {"arctg", Op::Atan},  {"atan", Op::Atan},
    {"sh", Op::Sinh},     {"sinh", Op::Sinh}, {"ch", Op::Cosh},     {"cosh", Op::Cosh},
    {"th", Op::Tanh},     {"tanh", Op::Tanh}, {"exp", Op::Exp},     {"ln", Op::Ln},
    {"lg", Op::Lg},       {"log10", Op::Lg},  {"sqrt", Op::Sqrt},   {"abs", Op::Abs},
};

long double Tangent(long double a) {
    return std::fabs(a) >= TrigLimit ? 0.0L : tanl(a);
}

}  // namespace

bool IsUnary(Op op) {
    return op >= Op::Neg && op <= Op::Sign;
}

bool IsBinary(Op op) {
    return op >= Op::Add && op <= Op::Pow;
}

std::span<const FunctionName> FunctionNames() {
    return Names;
}

Op FunctionNamed(std::string_view name) {
    for (const FunctionName& entry : Names) {
        if (entry.name == name)
            return entry.op;
    }
    return Op::X;
}

std::string_view PrintedName(Op op) {
    for (const FunctionName& entry : Names) {
        if (entry.op == op)
            return entry.name;
    }
    return "sign";
}

long double EvalUnary(Op op, long double a) {
    switch (op) {
        case Op::Neg:
            return -a;
        case Op::Sin:
            return runtime::Sin(a);
        case Op::Cos:
            return runtime::Cos(a);
        case Op::Tan:
            return Tangent(a);
        case Op::Cot:
            return 1.0L / Tangent(a);
        case Op::Asin:
            return runtime::Asin(a);
        case Op::Acos:
            return runtime::Acos(a);
        case Op::Atan:
            return atanl(a);
        case Op::Sinh:
            return runtime::Sinh(a);
        case Op::Cosh:
            return runtime::Cosh(a);
        case Op::Tanh:
            return tanhl(a);
        case Op::Exp:
            return runtime::Exp(a);
        case Op::Ln:
            return runtime::Ln(a);
        case Op::Lg:
            return runtime::Lg(a);
        case Op::Sqrt:
            return runtime::Sqrt(a);
        case Op::Abs:
            return std::fabs(a);
        default:
            return a > 0 ? 1.0L : (a < 0 ? -1.0L : 0.0L);
    }
}

long double EvalBinary(Op op, long double a, long double b) {
    switch (op) {
        case Op::Add:
            return a + b;
        case Op::Sub:
            return a - b;
        case Op::Mul:
            return a * b;
        case Op::Div:
            return a / b;
        default:
            return runtime::Power(a, b);
    }
}

long double PowerWhole(long double x, std::int64_t n) {
    std::uint64_t bits = n < 0 ? static_cast<std::uint64_t>(-n) : static_cast<std::uint64_t>(n);
    long double result = 1;
    long double square = x;
    bool first = true;
    while (bits != 0) {
        if ((bits & 1) != 0) {
            // The first factor is taken as it is: 1 * x would be the same, one step longer.
            result = first ? square : result * square;
            first = false;
        }
        bits >>= 1;
        if (bits != 0)
            square = square * square;
    }
    return n < 0 ? 1.0L / result : result;
}

}  // namespace metopt::core::formula
