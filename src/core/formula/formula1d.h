#pragma once
// A function of one variable typed in the formula language: x, or t for the same variable (the
// letter of the line search's multiplier); y has no place in it. The formula engine compiles it,
// so its language, its errors ("Ошибка в формуле, знак N: ...", N as typed) and its evaluations
// (the floating-point checks raising EInvalidOp / EZeroDivide / EOverflow) are a typed function's
// of x and y. Pure: one object may be evaluated on several threads at once.
#include <memory>
#include <string>
#include <string_view>

#include "core/formula/formula.h"

namespace metopt::core {

class TFormula1D {
  public:
    // Use CompileFormula1D.
    TFormula1D(std::string text, std::shared_ptr<const TFormula> ofX);

    long double Value(long double x) const;
    // The text as typed.
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
    std::shared_ptr<const TFormula> ofX_;
};

// Compiles a function of x (or t), or raises EFormulaError with the position of the fault in the
// text as typed; a y in it is such a fault.
std::shared_ptr<const TFormula1D> CompileFormula1D(std::string_view text);

}  // namespace metopt::core
