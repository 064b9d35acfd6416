#include "core/formula/tape.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "runtime/mathfunctions.h"

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
    std::vector<int> nodeOf;  // the node of each instruction
    for (int i = 0; i < graph.Size(); ++i) {
        const TGraphNode& node = graph[i];
        if (!needed[static_cast<std::size_t>(i)] || IsLeaf(node.op))
            continue;
        Instruction instruction{
            node.op, false, false, true, 0, reg[static_cast<std::size_t>(node.a)], 0, node.whole};
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
        nodeOf.push_back(i);
    }
    for (const int root : roots)
        outputs_.push_back(reg[static_cast<std::size_t>(root)]);
    MarkLastResults(graph, nodeOf, isRoot, lastUse);
}

void TTape::MarkLastResults(const TGraph& graph, const std::vector<int>& nodeOf,
                            const std::vector<bool>& isRoot, const std::vector<int>& lastUse) {
    for (std::size_t k = 1; k < code_.size(); ++k) {
        const int previous = nodeOf[k - 1];
        const TGraphNode& node = graph[nodeOf[k]];
        code_[k].aIsLast = node.a == previous;
        code_[k].bIsLast = node.b == previous;
    }
    for (std::size_t k = 0; k < code_.size(); ++k) {
        const auto node = static_cast<std::size_t>(nodeOf[k]);
        // Read by the next instruction at most, and not an output: the register is not needed.
        const bool nextOnly = k + 1 < code_.size() && lastUse[node] <= nodeOf[k + 1];
        code_[k].store = isRoot[node] || !nextOnly;
    }
}

void TTape::Execute(long double* r) const {
    long double last = 0;
    for (const Instruction& in : code_) {
        const long double a = in.aIsLast ? last : r[in.a];
        long double result;
        switch (in.op) {
            case Op::Add:
                result = a + (in.bIsLast ? last : r[in.b]);
                break;
            case Op::Sub:
                result = a - (in.bIsLast ? last : r[in.b]);
                break;
            case Op::Mul:
                result = a * (in.bIsLast ? last : r[in.b]);
                break;
            case Op::Div:
                result = a / (in.bIsLast ? last : r[in.b]);
                break;
            case Op::Neg:
                result = -a;
                break;
            case Op::PowWhole:
                result = PowerWhole(a, in.whole);
                break;
            case Op::Pow:
                result = runtime::Power(a, in.bIsLast ? last : r[in.b]);
                break;
            default:
                result = EvalUnary(in.op, a);
                break;
        }
        if (in.store)
            r[in.target] = result;
        last = result;
    }
}

namespace {

// The registers of a large program: one file per thread, made on its first use.
long double* HeapRegisters(std::size_t count) {
    thread_local std::vector<long double> registers;
    if (registers.size() < count)
        registers.resize(count);
    return registers.data();
}

}  // namespace

void TTape::Run(long double x, long double y, long double* outputs) const {
    long double onStack[StackRegisters];
    long double* r = registers_ > StackRegisters ? HeapRegisters(registers_) : onStack;
    r[0] = x;
    r[1] = y;
    std::copy(constants_.begin(), constants_.end(), r + 2);
    Execute(r);
    for (std::size_t i = 0; i < outputs_.size(); ++i)
        outputs[i] = r[outputs_[i]];
}

}  // namespace metopt::core::formula
