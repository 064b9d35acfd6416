#include "core/formula/formula.h"

#include <utility>

#include "core/formula/derivative.h"
#include "core/formula/graph.h"
#include "core/formula/parser.h"
#include "runtime/fpu.h"

namespace metopt::core {

namespace {

// One tape's outputs at (x, y), with the flags checked as every evaluation checks them.
void RunChecked(const formula::TTape& tape, long double x, long double y, long double* out) {
    runtime::ClearFpuFlags();
    tape.Run(x, y, out);
    runtime::CheckFpu();
}

}  // namespace

TFormula::TFormula(std::string text, formula::TTape value, formula::TTape gradient,
                   formula::TTape hessian)
    : text_(std::move(text)),
      value_(std::move(value)),
      gradient_(std::move(gradient)),
      hessian_(std::move(hessian)) {}

long double TFormula::Value(long double x, long double y) const {
    runtime::ClearFpuFlags();
    const long double z = value_.RunFirst(x, y);
    runtime::CheckFpu();
    return z;
}

void TFormula::Gradient(long double x, long double y, long double& gx, long double& gy) const {
    long double g[2];
    RunChecked(gradient_, x, y, g);
    gx = g[0];
    gy = g[1];
}

void TFormula::Hessian(long double x, long double y, long double& hxx, long double& hxy,
                       long double& hyy) const {
    long double h[3];
    RunChecked(hessian_, x, y, h);
    hxx = h[0];
    hxy = h[1];
    hyy = h[2];
}

std::size_t TFormula::Instructions() const {
    return value_.Instructions() + gradient_.Instructions() + hessian_.Instructions();
}

std::string TrimmedFormula(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::shared_ptr<const TFormula> CompileFormula(std::string_view text) {
    return CompileSyntaxTree(std::string(text), formula::ParseFormula(text));
}

std::shared_ptr<const TFormula> CompileSyntaxTree(std::string text,
                                                  const formula::TSyntaxTree& tree) {
    formula::TGraph graph;
    const int value = formula::AddTree(graph, tree);
    formula::TDerivative byX(formula::Op::X);
    formula::TDerivative byY(formula::Op::Y);
    const int gx = byX.Of(graph, value);
    const int gy = byY.Of(graph, value);
    const int hxx = byX.Of(graph, gx);
    const int hxy = byY.Of(graph, gx);
    const int hyy = byY.Of(graph, gy);
    // Folding constants may have left flags behind; the next evaluation starts clean anyway.
    runtime::ClearFpuFlags();
    const int valueRoots[] = {value};
    const int gradientRoots[] = {gx, gy};
    const int hessianRoots[] = {hxx, hxy, hyy};
    return std::make_shared<const TFormula>(std::move(text), formula::TTape(graph, valueRoots),
                                            formula::TTape(graph, gradientRoots),
                                            formula::TTape(graph, hessianRoots));
}

}  // namespace metopt::core
