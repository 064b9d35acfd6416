// The formula compiler on any text: it compiles, or refuses with EFormulaError at a position
// inside the text. A compiled formula evaluates, with its gradient and Hessian, at a few points
// with no error but the floating-point ones, and leaves no flag raised. The parsed tree printed
// and parsed again is the same tree. The same text as the lines of the constraints' field
// compiles, or is refused naming a constraint and a position in its line; each compiled
// constraint evaluates as a formula does.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/formula/constraintformula.h"
#include "core/formula/formula.h"
#include "core/formula/formulaerror.h"
#include "core/formula/lexer.h"
#include "core/formula/parser.h"
#include "core/formula/tree.h"
#include "fuzz_check.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

using namespace metopt;
using metopt::fuzz::Broken;
using metopt::fuzz::Expect;
using metopt::fuzz::Printable;

namespace {

const long double Points[][2] = {{0, 0}, {1, -1}, {0.5L, 2}, {-3, 1e-3L}, {1e300L, -1e-300L}};

// One evaluation: a value or one of the runtime's floating-point errors.
template <typename Call>
void Evaluate(const std::string& text, Call call) {
    try {
        call();
    } catch (const runtime::EInvalidOp&) {
    } catch (const runtime::EZeroDivide&) {
    } catch (const runtime::EOverflow&) {
    } catch (const runtime::Exception& e) {
        Broken("'" + Printable(text) + "' raised " + e.Message());
    }
}

void CheckPrintedTree(const std::string& text) {
    const core::formula::TSyntaxTree tree = core::formula::ParseFormula(text);
    const std::string printed = core::formula::PrintFormula(tree);
    try {
        Expect(core::formula::SameTree(tree, core::formula::ParseFormula(printed)),
               "'" + Printable(text) + "' printed as '" + Printable(printed) +
                   "' parses to another tree");
    } catch (const core::EFormulaError& e) {
        // The printed form may be longer than the limit (numbers in full); nothing else fails.
        Expect(printed.size() > core::formula::MaxFormulaLength,
               "'" + Printable(text) + "' printed as '" + Printable(printed) +
                   "' is refused: " + e.Message());
    }
}

void CheckConstraintLines(const std::string& text) {
    core::TConstraints constraints;
    try {
        constraints = core::CompileConstraintLines(text);
    } catch (const core::EConstraintError& e) {
        Expect(e.Number() >= 1 && e.Number() <= core::MaxConstraints + 1,
               "'" + Printable(text) + "' refused as constraint " + std::to_string(e.Number()));
        return;
    } catch (const runtime::Exception& e) {
        Broken("'" + Printable(text) + "' as constraints raised " + e.Message());
    }
    for (const core::TConstraint& constraint : constraints) {
        for (const auto& p : Points) {
            long double g = 0;
            Evaluate(text, [&] { g = constraint.g->Value(p[0], p[1]); });
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    runtime::InitFpu();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckConstraintLines(text);
    std::shared_ptr<const core::TFormula> formula;
    try {
        formula = core::CompileFormula(text);
    } catch (const core::EFormulaError& e) {
        const std::size_t length = core::formula::CharacterCount(text);
        Expect(e.Position() >= 1 && e.Position() <= std::max<std::size_t>(length, 1),
               "'" + Printable(text) + "' refused at " + std::to_string(e.Position()) + " of " +
                   std::to_string(length));
        return 0;
    } catch (const runtime::Exception& e) {
        Broken("'" + Printable(text) + "' raised " + e.Message());
    }
    CheckPrintedTree(text);
    for (const auto& p : Points) {
        long double z = 0, gx = 0, gy = 0, hxx = 0, hxy = 0, hyy = 0;
        Evaluate(text, [&] { z = formula->Value(p[0], p[1]); });
        Evaluate(text, [&] { formula->Gradient(p[0], p[1], gx, gy); });
        Evaluate(text, [&] { formula->Hessian(p[0], p[1], hxx, hxy, hyy); });
    }
    try {
        runtime::CheckFpu();
    } catch (const runtime::Exception& e) {
        Broken("'" + Printable(text) + "' left a flag raised: " + e.Message());
    }
    return 0;
}
