#pragma once
// A formula as parsed: a tree of nodes in one array, every node after its operands, so that every
// pass walks the array in order and none recurses. Its printed form parses back to the same tree.
#include <cstddef>
#include <string>
#include <vector>

#include "core/formula/ops.h"

namespace metopt::core::formula {

struct TSyntaxNode {
    enum class Kind : unsigned char { Number, Variable, Constant, Reference, Unary, Binary };
    Kind kind = Kind::Number;
    // Variable: X or Y; Unary: Neg or a function; Binary: Add .. Pow.
    Op op = Op::Const;
    long double value = 0;  // Number, Constant
    std::string name;       // Constant ("pi", "e"), Reference (the definition's name)
    int definition = -1;    // Reference: index into TSyntaxTree::definitions
    int a = -1;             // operands
    int b = -1;
    std::size_t position = 0;  // 1-based character position of its token
};

struct TSyntaxTree {
    struct Definition {
        std::string name;  // lower case
        int first = 0;     // its nodes are first .. root
        int root = 0;
        std::size_t position = 0;
    };
    std::vector<TSyntaxNode> nodes;
    int first = 0;  // the expression's nodes are first .. root
    int root = -1;
    std::vector<Definition> definitions;
    // The definitions in an order where each comes after those it refers to.
    std::vector<int> definitionOrder;
};

// The formula in the language: the expression, then ", name=expression" for each definition,
// with the parentheses its tree needs and no others.
std::string PrintFormula(const TSyntaxTree& tree);

// The same tree: nodes, operands, numbers (bit for bit), names and definitions; positions aside.
bool SameTree(const TSyntaxTree& a, const TSyntaxTree& b);

}  // namespace metopt::core::formula
