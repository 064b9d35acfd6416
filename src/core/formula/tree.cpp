#include "core/formula/tree.h"

#include <charconv>
#include <cstring>
#include <utility>

namespace metopt::core::formula {

namespace {

// Binding strength of what a node prints as: sums bind least, then products, a unary minus,
// powers, and operands that need no parentheses at all.
enum Strength { SumStrength = 1, ProductStrength, MinusStrength, PowerStrength, AtomStrength };

int StrengthOf(const TSyntaxNode& node) {
    if (node.kind == TSyntaxNode::Kind::Binary) {
        switch (node.op) {
            case Op::Add:
            case Op::Sub:
                return SumStrength;
            case Op::Mul:
            case Op::Div:
                return ProductStrength;
            default:
                return PowerStrength;
        }
    }
    if (node.kind == TSyntaxNode::Kind::Unary && node.op == Op::Neg)
        return MinusStrength;
    return AtomStrength;
}

// The shortest text that reads back as the same extended value.
std::string NumberText(long double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

char OperatorChar(Op op) {
    switch (op) {
        case Op::Add:
            return '+';
        case Op::Sub:
            return '-';
        case Op::Mul:
            return '*';
        case Op::Div:
            return '/';
        default:
            return '^';
    }
}

std::string Wrapped(std::string text, bool parenthesised) {
    return parenthesised ? "(" + std::move(text) + ")" : text;
}

// The texts of the nodes first .. root, each built from its operands' texts, which it takes over.
std::string PrintRange(const TSyntaxTree& tree, int first, int root) {
    std::vector<std::string> texts(static_cast<std::size_t>(root - first + 1));
    const auto text = [&](int i) -> std::string& {
        return texts[static_cast<std::size_t>(i - first)];
    };
    const auto strength = [&](int i) {
        return StrengthOf(tree.nodes[static_cast<std::size_t>(i)]);
    };
    for (int i = first; i <= root; ++i) {
        const TSyntaxNode& node = tree.nodes[static_cast<std::size_t>(i)];
        switch (node.kind) {
            case TSyntaxNode::Kind::Number:
                text(i) = NumberText(node.value);
                break;
            case TSyntaxNode::Kind::Variable:
                text(i) = node.op == Op::X ? "x" : "y";
                break;
            case TSyntaxNode::Kind::Constant:
            case TSyntaxNode::Kind::Reference:
                text(i) = node.name;
                break;
            case TSyntaxNode::Kind::Unary:
                if (node.op == Op::Neg) {
                    text(i) =
                        "-" + Wrapped(std::move(text(node.a)), strength(node.a) < MinusStrength);
                } else {
                    text(i) =
                        std::string(PrintedName(node.op)) + "(" + std::move(text(node.a)) + ")";
                }
                break;
            case TSyntaxNode::Kind::Binary: {
                const int own = StrengthOf(node);
                // A power's base is an operand; its exponent may carry a unary minus. A left-
                // grouped operation keeps parentheses around a right operand of its own strength.
                const bool power = own == PowerStrength;
                const bool left =
                    power ? strength(node.a) <= PowerStrength : strength(node.a) < own;
                const bool right =
                    power ? strength(node.b) < MinusStrength : strength(node.b) <= own;
                text(i) = Wrapped(std::move(text(node.a)), left) + OperatorChar(node.op) +
                          Wrapped(std::move(text(node.b)), right);
                break;
            }
        }
    }
    return std::move(text(root));
}

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

bool SameNode(const TSyntaxNode& a, const TSyntaxNode& b) {
    return a.kind == b.kind && a.op == b.op && SameBits(a.value, b.value) && a.name == b.name &&
           a.definition == b.definition && a.a == b.a && a.b == b.b;
}

}  // namespace

std::string PrintFormula(const TSyntaxTree& tree) {
    if (tree.root < 0)
        return "";
    std::string text = PrintRange(tree, tree.first, tree.root);
    for (const TSyntaxTree::Definition& definition : tree.definitions)
        text += ", " + definition.name + "=" + PrintRange(tree, definition.first, definition.root);
    return text;
}

bool SameTree(const TSyntaxTree& a, const TSyntaxTree& b) {
    if (a.nodes.size() != b.nodes.size() || a.first != b.first || a.root != b.root ||
        a.definitions.size() != b.definitions.size())
        return false;
    for (std::size_t i = 0; i < a.nodes.size(); ++i) {
        if (!SameNode(a.nodes[i], b.nodes[i]))
            return false;
    }
    for (std::size_t i = 0; i < a.definitions.size(); ++i) {
        const auto& da = a.definitions[i];
        const auto& db = b.definitions[i];
        if (da.name != db.name || da.first != db.first || da.root != db.root)
            return false;
    }
    return true;
}

}  // namespace metopt::core::formula
