#include "core/formula/derivative.h"

#include <cmath>
#include <cstddef>

namespace metopt::core::formula {

int TDerivative::Of(TGraph& graph, int root) {
    derived_.resize(static_cast<std::size_t>(graph.Size()), -1);
    // The nodes root depends on, found from root downwards: operands come before their users.
    std::vector<bool> needed(static_cast<std::size_t>(root) + 1, false);
    needed[static_cast<std::size_t>(root)] = true;
    for (int i = root; i >= 0; --i) {
        if (!needed[static_cast<std::size_t>(i)])
            continue;
        const TGraphNode& node = graph[i];
        if (node.a >= 0)
            needed[static_cast<std::size_t>(node.a)] = true;
        if (node.b >= 0)
            needed[static_cast<std::size_t>(node.b)] = true;
    }
    for (int i = 0; i <= root; ++i) {
        if (needed[static_cast<std::size_t>(i)] && D(i) < 0) {
            const int d = Rule(graph, i);
            derived_[static_cast<std::size_t>(i)] = d;
        }
    }
    derived_.resize(static_cast<std::size_t>(graph.Size()), -1);
    return D(root);
}

int TDerivative::Rule(TGraph& g, int i) const {
    const TGraphNode n = g[i];  // a copy: the graph grows below
    const int u = n.a;
    const int v = n.b;
    const int du = u >= 0 ? D(u) : -1;
    const int dv = v >= 0 ? D(v) : -1;
    const int one = g.Constant(1);
    switch (n.op) {
        case Op::X:
        case Op::Y:
            return g.Constant(n.op == variable_ ? 1 : 0);
        case Op::Const:
        case Op::Sign:
            return g.Constant(0);
        case Op::Neg:
            return g.Neg(du);
        case Op::Add:
            return g.Add(du, dv);
        case Op::Sub:
            return g.Sub(du, dv);
        case Op::Mul:
            return g.Add(g.Mul(du, v), g.Mul(u, dv));
        case Op::Div:
            return g.Div(g.Sub(g.Mul(du, v), g.Mul(u, dv)), g.Mul(v, v));
        case Op::PowWhole:
            return g.Mul(
                g.Mul(g.Constant(static_cast<long double>(n.whole)), g.PowerWhole(u, n.whole - 1)),
                du);
        case Op::Pow: {
            if (g.IsConstant(dv, 0)) {
                // u^c: c * u^(c-1) * u'.
                return g.Mul(g.Mul(v, g.Binary(Op::Pow, u, g.Sub(v, one))), du);
            }
            // u^v * (v' ln u + v u' / u).
            const int lnU = g.Unary(Op::Ln, u);
            return g.Mul(i, g.Add(g.Mul(dv, lnU), g.Div(g.Mul(v, du), u)));
        }
        case Op::Sin:
            return g.Mul(g.Unary(Op::Cos, u), du);
        case Op::Cos:
            return g.Mul(g.Neg(g.Unary(Op::Sin, u)), du);
        case Op::Tan:
            return g.Mul(g.Add(one, g.Mul(i, i)), du);
        case Op::Cot:
            return g.Neg(g.Mul(g.Add(one, g.Mul(i, i)), du));
        case Op::Asin:
            return g.Div(du, g.Unary(Op::Sqrt, g.Sub(one, g.Mul(u, u))));
        case Op::Acos:
            return g.Neg(g.Div(du, g.Unary(Op::Sqrt, g.Sub(one, g.Mul(u, u)))));
        case Op::Atan:
            return g.Div(du, g.Add(one, g.Mul(u, u)));
        case Op::Sinh:
            return g.Mul(g.Unary(Op::Cosh, u), du);
        case Op::Cosh:
            return g.Mul(g.Unary(Op::Sinh, u), du);
        case Op::Tanh:
            return g.Mul(g.Sub(one, g.Mul(i, i)), du);
        case Op::Exp:
            return g.Mul(i, du);
        case Op::Ln:
            return g.Div(du, u);
        case Op::Lg:
            return g.Div(du, g.Mul(u, g.Constant(logl(10.0L))));
        case Op::Sqrt:
            return g.Div(du, g.Mul(g.Constant(2), i));
        case Op::Abs:
            return g.Mul(g.Unary(Op::Sign, u), du);
    }
    return g.Constant(0);
}

}  // namespace metopt::core::formula
