#pragma once
// The symbolic derivative of a node of the graph by x or by y, built in the same graph with the
// simplifying constructors. The walk goes through the nodes in order, each derived from its
// operands' derivatives, so it never recurses.
#include <vector>

#include "core/formula/graph.h"

namespace metopt::core::formula {

class TDerivative {
  public:
    // By x (Op::X) or by y (Op::Y).
    explicit TDerivative(Op variable) : variable_(variable) {}
    // The node of d(root)/d(variable); derivatives found before are kept for later calls.
    int Of(TGraph& graph, int root);

  private:
    int Rule(TGraph& graph, int i) const;
    int D(int i) const { return derived_[static_cast<std::size_t>(i)]; }

    Op variable_;
    std::vector<int> derived_;  // -1: not derived yet
};

}  // namespace metopt::core::formula
