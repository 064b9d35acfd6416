#include "core/formulatape.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace metopt::core::formula {

namespace {

// Programs needing no more registers than this run on the stack.
constexpr std::uint32_t StackRegisters = 64;

constexpr std::uint32_t Unassigned = std::numeric_limits<std::uint32_t>::max();

bool IsLeaf(Op op) {
    return op == Op::X || op == Op::Y || op == Op::Const;
}

}  // namespace

TTape::TTape(const TGraph& graph, std::span<const int> roots) {
    const auto size = static_cast<std::size_t>(graph.Size());
    // What the roots need, and the last instruction that reads each node.
    std::vector<bool> needed(size, false);
    for (const int root : roots)
        needed[static_cast<std::size_t>(root)] = true;
    std::vector<int> lastUse(size, -1);
    for (int i = graph.Size() - 1; i >= 0; --i) {
        if (!needed[static_cast<std::size_t>(i)])
            continue;
        for (const int operand : {graph[i].a, graph[i].b}) {
            if (operand < 0)
                continue;
            needed[static_cast<std::size_t>(operand)] = true;
            lastUse[static_cast<std::size_t>(operand)] =
                std::max(lastUse[static_cast<std::size_t>(operand)], i);
        }
    }
    std::vector<bool> isRoot(size, false);
    for (const int root : roots)
        isRoot[static_cast<std::size_t>(root)] = true;

    std::vector<std::uint32_t> reg(size, Unassigned);
    reg[0] = 0;
    reg[1] = 1;
    for (std::size_t i = 2; i < size; ++i) {
        if (needed[i] && graph[static_cast<int>(i)].op == Op::Const) {
            reg[i] = registers_++;
            constants_.push_back(graph[static_cast<int>(i)].value);
        }
    }
    std::vector<std::uint32_t> free;
    for (int i = 0; i < graph.Size(); ++i) {
        const TGraphNode& node = graph[i];
        if (!needed[static_cast<std::size_t>(i)] || IsLeaf(node.op))
            continue;
        Instruction instruction{node.op, 0, reg[static_cast<std::size_t>(node.a)], 0, node.whole};
        if (node.b >= 0)
            instruction.b = reg[static_cast<std::size_t>(node.b)];
        // Operands read for the last time give their registers back before the result takes one:
        // an instruction reads its operands before it writes. (x*x gives its one register once.)
        for (const int operand : {node.a, node.b}) {
            if (operand < 0)
                continue;
            const auto o = static_cast<std::size_t>(operand);
            if (lastUse[o] == i && !isRoot[o] && !IsLeaf(graph[operand].op) &&
                std::find(free.begin(), free.end(), reg[o]) == free.end())
                free.push_back(reg[o]);
        }
        if (free.empty()) {
            reg[static_cast<std::size_t>(i)] = registers_++;
        } else {
            reg[static_cast<std::size_t>(i)] = free.back();
            free.pop_back();
        }
        instruction.target = reg[static_cast<std::size_t>(i)];
        code_.push_back(instruction);
    }
    for (const int root : roots)
        outputs_.push_back(reg[static_cast<std::size_t>(root)]);
}

void TTape::Execute(long double* r) const {
    for (const Instruction& in : code_) {
        const long double a = r[in.a];
        long double result;
        switch (in.op) {
            case Op::Add:
                result = a + r[in.b];
                break;
            case Op::Sub:
                result = a - r[in.b];
                break;
            case Op::Mul:
                result = a * r[in.b];
                break;
            case Op::Div:
                result = a / r[in.b];
                break;
            case Op::Neg:
                result = -a;
                break;
            case Op::PowWhole:
                result = PowerWhole(a, in.whole);
                break;
            case Op::Pow:
                result = powl(a, r[in.b]);
                break;
            default:
                result = EvalUnary(in.op, a);
                break;
        }
        r[in.target] = result;
    }
}

void TTape::Run(long double x, long double y, long double* outputs) const {
    long double onStack[StackRegisters];
    thread_local std::vector<long double> onHeap;
    long double* r = onStack;
    if (registers_ > StackRegisters) {
        if (onHeap.size() < registers_)
            onHeap.resize(registers_);
        r = onHeap.data();
    }
    r[0] = x;
    r[1] = y;
    std::copy(constants_.begin(), constants_.end(), r + 2);
    Execute(r);
    for (std::size_t i = 0; i < outputs_.size(); ++i)
        outputs[i] = r[outputs_[i]];
}

}  // namespace metopt::core::formula
