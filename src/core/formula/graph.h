#pragma once
// A formula and its derivatives as one graph of operations: every node after its operands, each
// operation made once (a second x*x is the first one), constants folded. The literal
// constructors keep a formula's value to the last bit; the simplifying ones, which derivatives
// use, also drop *1, +0, *0 and the like.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/formula/ops.h"
#include "core/formula/tree.h"

namespace metopt::core::formula {

struct TGraphNode {
    Op op = Op::Const;
    int a = -1;
    int b = -1;
    long double value = 0;   // Const
    std::int64_t whole = 0;  // PowWhole: the exponent
};

class TGraph {
  public:
    TGraph();

    int X() const { return 0; }
    int Y() const { return 1; }
    int Constant(long double value);

    // As written, but for constants folded where the folding raises no fault (so that a fault
    // such as 1/0 still shows when the formula is evaluated) and commuted operands in one order.
    int Unary(Op op, int a);
    int Binary(Op op, int a, int b);
    int PowerWhole(int a, std::int64_t n);

    // Simplifying: for derivatives.
    int Add(int a, int b);
    int Sub(int a, int b);
    int Mul(int a, int b);
    int Div(int a, int b);
    int Neg(int a);

    const TGraphNode& operator[](int i) const { return nodes_[static_cast<std::size_t>(i)]; }
    int Size() const { return static_cast<int>(nodes_.size()); }
    bool IsConstant(int i, long double value) const;

  private:
    struct Key {
        Op op;
        int a;
        int b;
        std::int64_t whole;
        unsigned char bits[10];
        bool operator==(const Key& other) const;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };

    int Node(const TGraphNode& node);
    // The constant `value` when computing it raised no fault, else -1.
    int Folded(long double value);

    std::vector<TGraphNode> nodes_;
    std::unordered_map<Key, int, KeyHash> index_;
};

// The nodes of the tree in the graph: returns the node of the expression.
int AddTree(TGraph& graph, const TSyntaxTree& tree);

}  // namespace metopt::core::formula
