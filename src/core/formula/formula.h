#pragma once
// A function of x and y typed in the formula language, compiled with its exact gradient and
// Hessian (symbolic derivatives, simplified), each a flat program of 80-bit operations. Its
// evaluations check the floating-point flags as the equation list's built-in functions do and
// raise EInvalidOp / EZeroDivide / EOverflow; sine and cosine follow the program's rule for huge
// arguments. Pure: one object may be evaluated on several threads at once.
#include <memory>
#include <string>
#include <string_view>

#include "core/formula/tape.h"
#include "core/formula/tree.h"
#include "core/objective.h"

namespace metopt::core {

class TFormula final : public TObjective {
  public:
    // Use CompileFormula.
    TFormula(std::string text, formula::TTape value, formula::TTape gradient,
             formula::TTape hessian);

    long double Value(long double x, long double y) const override;
    void Gradient(long double x, long double y, long double& gx, long double& gy) const override;
    void Hessian(long double x, long double y, long double& hxx, long double& hxy,
                 long double& hyy) const override;
    bool HasUncheckedValues() const override { return true; }
    // A row's points through the program at once (its instructions each over a block of them).
    void UncheckedValues(const long double* xs, long double y, std::size_t count,
                         long double* values) const override {
        value_.RunFirstAlong(xs, y, count, values);
    }

    // The text it was compiled from.
    const std::string& Text() const { return text_; }
    // The programs' sizes, for the benchmarks.
    std::size_t Instructions() const;

  private:
    std::string text_;
    formula::TTape value_;
    formula::TTape gradient_;
    formula::TTape hessian_;
};

// Compiles a formula ("(sin(r))/r, r=sqrt(x*x+y*y)"), or raises EFormulaError with the Russian
// message and the 1-based character position of the fault: "Ошибка в формуле, знак 7: ...".
std::shared_ptr<const TFormula> CompileFormula(std::string_view text);
// The same from a parsed tree of `text`.
std::shared_ptr<const TFormula> CompileSyntaxTree(std::string text,
                                                  const formula::TSyntaxTree& tree);

// The text without the blanks around it: how the report shows a formula.
std::string TrimmedFormula(std::string_view text);

}  // namespace metopt::core
