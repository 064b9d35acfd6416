#include "core/formula/graph.h"

#include <cfenv>
#include <cmath>
#include <cstring>
#include <utility>

#include "runtime/fpu.h"

namespace metopt::core::formula {

namespace {

bool IsCommutative(Op op) {
    return op == Op::Add || op == Op::Mul;
}

// The whole exponent that `value` is, when a power takes it by multiplication.
bool WholeExponent(long double value, std::int64_t& whole) {
    if (!(std::fabs(value) <= static_cast<long double>(MaxWholeExponent)) ||
        value != std::trunc(value))
        return false;
    whole = static_cast<std::int64_t>(value);
    return true;
}

}  // namespace

bool TGraph::Key::operator==(const Key& other) const {
    return op == other.op && a == other.a && b == other.b && whole == other.whole &&
           std::memcmp(bits, other.bits, sizeof bits) == 0;
}

std::size_t TGraph::KeyHash::operator()(const Key& key) const {
    std::size_t h = static_cast<std::size_t>(key.op);
    h = h * 1000003u ^ static_cast<std::size_t>(static_cast<unsigned>(key.a));
    h = h * 1000003u ^ static_cast<std::size_t>(static_cast<unsigned>(key.b));
    h = h * 1000003u ^ static_cast<std::size_t>(key.whole);
    for (const unsigned char byte : key.bits)
        h = h * 131u ^ byte;
    return h;
}

TGraph::TGraph() {
    Node({Op::X, -1, -1, 0, 0});
    Node({Op::Y, -1, -1, 0, 0});
}

int TGraph::Node(const TGraphNode& node) {
    Key key{node.op, node.a, node.b, node.whole, {}};
    if (node.op == Op::Const)
        std::memcpy(key.bits, &node.value, sizeof key.bits);
    const auto [at, added] = index_.try_emplace(key, Size());
    if (added)
        nodes_.push_back(node);
    return at->second;
}

int TGraph::Constant(long double value) {
    return Node({Op::Const, -1, -1, value, 0});
}

bool TGraph::IsConstant(int i, long double value) const {
    const TGraphNode& node = (*this)[i];
    return node.op == Op::Const && node.value == value;
}

int TGraph::Folded(long double value) {
    runtime::Pin(value);
    const bool faulted = std::fetestexcept(runtime::CheckedFpuFaults) != 0;
    runtime::ClearFpuFlags();
    return faulted ? -1 : Constant(value);
}

int TGraph::Unary(Op op, int a) {
    if ((*this)[a].op == Op::Const) {
        runtime::ClearFpuFlags();
        if (const int folded = Folded(EvalUnary(op, (*this)[a].value)); folded >= 0)
            return folded;
    }
    return Node({op, a, -1, 0, 0});
}

int TGraph::PowerWhole(int a, std::int64_t n) {
    // x^0 is 1 and x^1 is x without a multiplication, whatever x is.
    if (n == 0)
        return Constant(1);
    if (n == 1)
        return a;
    if ((*this)[a].op == Op::Const) {
        runtime::ClearFpuFlags();
        if (const int folded = Folded(formula::PowerWhole((*this)[a].value, n)); folded >= 0)
            return folded;
    }
    return Node({Op::PowWhole, a, -1, 0, n});
}

int TGraph::Binary(Op op, int a, int b) {
    std::int64_t whole = 0;
    if (op == Op::Pow && (*this)[b].op == Op::Const && WholeExponent((*this)[b].value, whole))
        return PowerWhole(a, whole);
    if ((*this)[a].op == Op::Const && (*this)[b].op == Op::Const) {
        runtime::ClearFpuFlags();
        const long double value = EvalBinary(op, (*this)[a].value, (*this)[b].value);
        if (const int folded = Folded(value); folded >= 0)
            return folded;
    }
    if (IsCommutative(op) && b < a)
        std::swap(a, b);
    return Node({op, a, b, 0, 0});
}

int TGraph::Add(int a, int b) {
    if (IsConstant(a, 0))
        return b;
    if (IsConstant(b, 0))
        return a;
    if (a == b)
        return Binary(Op::Mul, Constant(2), a);  // a + a is 2 * a, bit for bit
    return Binary(Op::Add, a, b);
}

int TGraph::Sub(int a, int b) {
    if (IsConstant(b, 0))
        return a;
    if (a == b)
        return Constant(0);
    if (IsConstant(a, 0))
        return Neg(b);
    return Binary(Op::Sub, a, b);
}

int TGraph::Mul(int a, int b) {
    if (IsConstant(a, 0) || IsConstant(b, 0))
        return Constant(0);
    if (IsConstant(a, 1))
        return b;
    if (IsConstant(b, 1))
        return a;
    if (IsConstant(a, -1))
        return Neg(b);
    if (IsConstant(b, -1))
        return Neg(a);
    return Binary(Op::Mul, a, b);
}

int TGraph::Div(int a, int b) {
    if (IsConstant(a, 0))
        return Constant(0);
    if (IsConstant(b, 1))
        return a;
    return Binary(Op::Div, a, b);
}

int TGraph::Neg(int a) {
    if ((*this)[a].op == Op::Neg)
        return (*this)[a].a;
    return Unary(Op::Neg, a);
}

namespace {

// The nodes first .. root of the tree into the graph, in order; `definitions` holds the graph
// node of each definition added so far.
int AddRange(TGraph& graph, const TSyntaxTree& tree, int first, int root,
             const std::vector<int>& definitions) {
    std::vector<int> added(static_cast<std::size_t>(root - first + 1), -1);
    const auto at = [&](int i) { return added[static_cast<std::size_t>(i - first)]; };
    for (int i = first; i <= root; ++i) {
        const TSyntaxNode& node = tree.nodes[static_cast<std::size_t>(i)];
        int result = -1;
        switch (node.kind) {
            case TSyntaxNode::Kind::Number:
            case TSyntaxNode::Kind::Constant:
                result = graph.Constant(node.value);
                break;
            case TSyntaxNode::Kind::Variable:
                result = node.op == Op::X ? graph.X() : graph.Y();
                break;
            case TSyntaxNode::Kind::Reference:
                result = definitions[static_cast<std::size_t>(node.definition)];
                break;
            case TSyntaxNode::Kind::Unary:
                result = graph.Unary(node.op, at(node.a));
                break;
            case TSyntaxNode::Kind::Binary:
                result = graph.Binary(node.op, at(node.a), at(node.b));
                break;
        }
        added[static_cast<std::size_t>(i - first)] = result;
    }
    return at(root);
}

}  // namespace

int AddTree(TGraph& graph, const TSyntaxTree& tree) {
    std::vector<int> definitions(tree.definitions.size(), -1);
    for (const int d : tree.definitionOrder) {
        const auto& definition = tree.definitions[static_cast<std::size_t>(d)];
        definitions[static_cast<std::size_t>(d)] =
            AddRange(graph, tree, definition.first, definition.root, definitions);
    }
    return AddRange(graph, tree, tree.first, tree.root, definitions);
}

}  // namespace metopt::core::formula
