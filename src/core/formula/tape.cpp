#include "core/formula/tape.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "runtime/mathfunctions.h"

namespace metopt::core::formula {

namespace {

// Programs needing no more temporaries than this run on the stack.
constexpr std::uint32_t StackRegisters = 64;

bool IsLeaf(Op op) {
    return op == Op::X || op == Op::Y || op == Op::Const;
}

}  // namespace

TTape::Code TTape::CodeOf(const TGraphNode& node) {
    switch (node.op) {
        case Op::Add:
            return Code::Add;
        case Op::Sub:
            return Code::Sub;
        case Op::Mul:
            return node.a == node.b ? Code::Square : Code::Mul;
        case Op::Div:
            return Code::Div;
        case Op::Neg:
            return Code::Neg;
        case Op::PowWhole:
            // x^2 is x*x to the last bit (PowerWhole).
            return node.whole == 2 ? Code::Square : Code::PowWhole;
        case Op::Pow:
            return Code::Pow;
        default:
            return Code::Unary;
    }
}

namespace {}  // namespace

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

    std::vector<Operand> where(size);
    where[0] = {Source::X, 0};
    where[1] = {Source::Y, 0};
    for (std::size_t i = 2; i < size; ++i) {
        if (needed[i] && graph[static_cast<int>(i)].op == Op::Const) {
            where[i] = {Source::Constant, static_cast<std::uint32_t>(constants_.size())};
            constants_.push_back(graph[static_cast<int>(i)].value);
        }
    }
    std::vector<std::uint32_t> free;
    std::vector<int> nodeOf;  // the node of each instruction
    for (int i = 0; i < graph.Size(); ++i) {
        const TGraphNode& node = graph[i];
        if (!needed[static_cast<std::size_t>(i)] || IsLeaf(node.op))
            continue;
        Instruction instruction{CodeOf(node), node.op};
        instruction.whole = node.whole;
        const Operand& a = where[static_cast<std::size_t>(node.a)];
        instruction.aSource = a.source;
        instruction.a = a.index;
        if (node.b >= 0) {
            const Operand& b = where[static_cast<std::size_t>(node.b)];
            instruction.bSource = b.source;
            instruction.b = b.index;
        }
        // Operands read for the last time give their registers back before the result takes one:
        // an instruction reads its operands before it writes. (x*x gives its one register once.)
        for (const int operand : {node.a, node.b}) {
            if (operand < 0)
                continue;
            const auto o = static_cast<std::size_t>(operand);
            if (lastUse[o] == i && !isRoot[o] && where[o].source == Source::Temporary &&
                std::find(free.begin(), free.end(), where[o].index) == free.end())
                free.push_back(where[o].index);
        }
        if (free.empty()) {
            instruction.target = temporaries_++;
        } else {
            instruction.target = free.back();
            free.pop_back();
        }
        where[static_cast<std::size_t>(i)] = {Source::Temporary, instruction.target};
        code_.push_back(instruction);
        nodeOf.push_back(i);
    }
    MarkLastResults(graph, nodeOf, isRoot, lastUse);
    PlanBlockSteps();
    for (const int root : roots) {
        const bool computedLast = !nodeOf.empty() && root == nodeOf.back();
        outputs_.push_back(computedLast ? Operand{Source::Last, code_.back().target}
                                        : where[static_cast<std::size_t>(root)]);
    }
}

void TTape::MarkLastResults(const TGraph& graph, const std::vector<int>& nodeOf,
                            const std::vector<bool>& isRoot, const std::vector<int>& lastUse) {
    for (std::size_t k = 1; k < code_.size(); ++k) {
        const int previous = nodeOf[k - 1];
        const TGraphNode& node = graph[nodeOf[k]];
        if (node.a == previous)
            code_[k].aSource = Source::Last;
        if (node.b == previous)
            code_[k].bSource = Source::Last;
    }
    for (std::size_t k = 0; k < code_.size(); ++k) {
        const auto node = static_cast<std::size_t>(nodeOf[k]);
        // Read by the next instruction at most: the register is not needed. The last
        // instruction's result is the program's, which Run takes from where it still is.
        const bool nextOnly = k + 1 < code_.size() && lastUse[node] <= nodeOf[k + 1];
        code_[k].store = k + 1 < code_.size() && (isRoot[node] || !nextOnly);
    }
}

long double TTape::Execute(const Bases& bases, long double* temporaries) const {
    long double last = 0;
    const auto read = [&](Source source, std::uint32_t index) {
        return Read(bases, source, index, last);
    };
    for (const Instruction& in : code_) {
        const long double a = read(in.aSource, in.a);
        long double result;
        switch (in.code) {
            case Code::Add:
                result = a + read(in.bSource, in.b);
                break;
            case Code::Sub:
                result = a - read(in.bSource, in.b);
                break;
            case Code::Mul:
                result = a * read(in.bSource, in.b);
                break;
            case Code::Div:
                result = a / read(in.bSource, in.b);
                break;
            case Code::Square:
                result = a * a;
                break;
            case Code::Neg:
                result = -a;
                break;
            case Code::PowWhole:
                result = PowerWhole(a, in.whole);
                break;
            case Code::Pow:
                result = runtime::Power(a, read(in.bSource, in.b));
                break;
            default:  // Code::Unary
                result = EvalUnary(in.op, a);
                break;
        }
        if (in.store)
            temporaries[in.target] = result;
        last = result;
    }
    return last;
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

long double* TTape::Temporaries(long double* onStack) const {
    return temporaries_ > StackRegisters ? HeapRegisters(temporaries_) : onStack;
}

void TTape::Run(long double x, long double y, long double* outputs) const {
    long double onStack[StackRegisters];
    long double* temporaries = Temporaries(onStack);
    const Bases bases = {temporaries, constants_.data(), &x, &y};
    const long double last = Execute(bases, temporaries);
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
        const Operand& output = outputs_[i];
        outputs[i] = Read(bases, output.source, output.index, last);
    }
}

long double TTape::RunFirst(long double x, long double y) const {
    long double onStack[StackRegisters];
    long double* temporaries = Temporaries(onStack);
    const Bases bases = {temporaries, constants_.data(), &x, &y};
    const long double last = Execute(bases, temporaries);
    const Operand& output = outputs_.front();
    return Read(bases, output.source, output.index, last);
}

}  // namespace metopt::core::formula
