#pragma once
// The parser of the formula language: an expression of x and y, then definitions separated by
// commas ("(sin(r))/r, r=sqrt(x*x+y*y)").
//
//   formula    := expression { "," name "=" expression }
//   expression := term { ("+" | "-") term }
//   term       := unary { ("*" | "/") unary }
//   unary      := ("-" | "+") unary | power
//   power      := operand [ "^" unary ]          (so -x^2 is -(x^2), 2^3^2 is 2^9)
//   operand    := number | x | y | pi | e | definition | function "(" expression ")"
//               | "(" expression ")"
//
// Names are not case-sensitive. A definition may use x, y and other definitions in any order,
// without cycles.
#include <cstddef>
#include <string_view>

#include "core/formula/tree.h"

namespace metopt::core::formula {

constexpr std::size_t MaxFormulaLength = 4096;  // characters
// Parentheses, function arguments and the exponents of a chain of powers, one inside another.
constexpr int MaxNesting = 256;

// The tree of the text, or EFormulaError with the position of the first fault.
TSyntaxTree ParseFormula(std::string_view text);

// A constraint: its expression is a comparison, `left <= right`, `left >= right` or
// `left = right` ("<" and ">" read as "<=" and ">=", and so do "≤" and "≥"), the definitions
// after it as in a formula.
enum class TRelation { LessEqual, Equal };
struct TConstraintTree {
    // The tree of g: left − right for "<=" and "=", right − left for ">=", so that the constraint
    // is g <= 0 or g = 0.
    TSyntaxTree tree;
    TRelation relation = TRelation::LessEqual;
};
TConstraintTree ParseConstraint(std::string_view text);

}  // namespace metopt::core::formula
