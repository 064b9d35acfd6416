// The tape over a block of points at once: each step (an instruction, or two fused) runs over
// all the block's points before the next, so a point costs no dispatch of its own. The points'
// operations are those of Run, in the same order, so their results are the same bit for bit.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/formula/tape.h"
#include "runtime/mathfunctions.h"

namespace metopt::core::formula {

namespace {

// RunFirstAlong takes the points of a row in blocks of this many: a block's registers stay in
// the first-level cache.
constexpr std::size_t BlockPoints = 64;

// An operand over a block: the value of point i is at[i * step] (step 0 for y and constants).
struct Lane {
    const long double* at;
    std::size_t step;
    long double operator[](std::size_t i) const { return at[i * step]; }
};

template <class Operation>
void OverBlock(long double* result, std::size_t points, const Operation& operation) {
    for (std::size_t i = 0; i < points; ++i)
        result[i] = operation(i);
}

// --- Two arithmetic instructions fused: the first's result, read only by the second, is not
// stored between them ---

using Code = TTape::Code;

template <Code C>
long double Apply(long double a, long double b) {
    if constexpr (C == Code::Add)
        return a + b;
    else if constexpr (C == Code::Sub)
        return a - b;
    else if constexpr (C == Code::Mul)
        return a * b;
    else if constexpr (C == Code::Div)
        return a / b;
    else if constexpr (C == Code::Square)
        return a * a;
    else
        return -a;
}

// Where the second instruction reads the first one's result.
enum class Reads { A, B, Both };

struct PairLanes {
    long double* result;
    std::size_t points;
    Lane a1, b1, a2, b2;
};

template <Code First, Code Second, Reads Where>
void PairOverBlock(const PairLanes& p) {
    OverBlock(p.result, p.points, [&](std::size_t i) {
        const long double t = Apply<First>(p.a1[i], p.b1[i]);
        if constexpr (Where == Reads::A)
            return Apply<Second>(t, p.b2[i]);
        else if constexpr (Where == Reads::B)
            return Apply<Second>(p.a2[i], t);
        else
            return Apply<Second>(t, t);
    });
}

template <Code First, Code Second>
void PairReading(Reads where, const PairLanes& p) {
    switch (where) {
        case Reads::A:
            return PairOverBlock<First, Second, Reads::A>(p);
        case Reads::B:
            return PairOverBlock<First, Second, Reads::B>(p);
        default:
            return PairOverBlock<First, Second, Reads::Both>(p);
    }
}

template <Code First>
void PairThen(Code second, Reads where, const PairLanes& p) {
    switch (second) {
        case Code::Add:
            return PairReading<First, Code::Add>(where, p);
        case Code::Sub:
            return PairReading<First, Code::Sub>(where, p);
        case Code::Mul:
            return PairReading<First, Code::Mul>(where, p);
        case Code::Div:
            return PairReading<First, Code::Div>(where, p);
        case Code::Square:
            return PairReading<First, Code::Square>(where, p);
        default:
            return PairReading<First, Code::Neg>(where, p);
    }
}

void Pair(Code first, Code second, Reads where, const PairLanes& p) {
    switch (first) {
        case Code::Add:
            return PairThen<Code::Add>(second, where, p);
        case Code::Sub:
            return PairThen<Code::Sub>(second, where, p);
        case Code::Mul:
            return PairThen<Code::Mul>(second, where, p);
        case Code::Div:
            return PairThen<Code::Div>(second, where, p);
        case Code::Square:
            return PairThen<Code::Square>(second, where, p);
        default:
            return PairThen<Code::Neg>(second, where, p);
    }
}

}  // namespace

bool TTape::IsArithmetic(Code code) {
    return code == Code::Add || code == Code::Sub || code == Code::Mul || code == Code::Div ||
           code == Code::Square || code == Code::Neg;
}

void TTape::PlanBlockSteps() {
    blockSteps_.clear();
    for (std::size_t k = 0; k < code_.size(); ++k) {
        // A result that only the next instruction reads, both arithmetic: one step.
        const bool fused =
            k + 1 < code_.size() && !code_[k].store && IsArithmetic(code_[k].code) &&
            IsArithmetic(code_[k + 1].code) &&
            (code_[k + 1].aSource == Source::Last || code_[k + 1].bSource == Source::Last);
        blockSteps_.push_back({static_cast<std::uint32_t>(k), fused});
        if (fused)
            ++k;
    }
}

void TTape::ExecuteBlock(const long double* xs, const long double& y, std::size_t points,
                         long double* registers, long double* lastResults) const {
    const auto lane = [&](Source source, std::uint32_t index) -> Lane {
        switch (source) {
            case Source::X:
                return {xs, 1};
            case Source::Y:
                return {&y, 0};
            case Source::Constant:
                return {&constants_[index], 0};
            default:  // a temporary, or the previous result, which is in its register here
                return {registers + index * BlockPoints, 1};
        }
    };
    for (const BlockStep& step : blockSteps_) {
        const Instruction& in = code_[step.first];
        const Instruction& last = step.fused ? code_[step.first + 1] : in;
        long double* result =
            &last == &code_.back() ? lastResults : registers + last.target * BlockPoints;
        const Lane a = lane(in.aSource, in.a);
        const Lane b = lane(in.bSource, in.b);
        if (step.fused) {
            const bool readsA = last.aSource == Source::Last;
            const bool readsB =
                last.bSource == Source::Last && last.code != Code::Square && last.code != Code::Neg;
            const Reads where = readsA && readsB ? Reads::Both : readsA ? Reads::A : Reads::B;
            Pair(in.code, last.code, where,
                 {result, points, a, b, lane(last.aSource, last.a), lane(last.bSource, last.b)});
            continue;
        }
        switch (in.code) {
            case Code::Add:
                OverBlock(result, points, [&](std::size_t i) { return a[i] + b[i]; });
                break;
            case Code::Sub:
                OverBlock(result, points, [&](std::size_t i) { return a[i] - b[i]; });
                break;
            case Code::Mul:
                OverBlock(result, points, [&](std::size_t i) { return a[i] * b[i]; });
                break;
            case Code::Div:
                OverBlock(result, points, [&](std::size_t i) { return a[i] / b[i]; });
                break;
            case Code::Square:
                OverBlock(result, points, [&](std::size_t i) {
                    const long double v = a[i];
                    return v * v;
                });
                break;
            case Code::Neg:
                OverBlock(result, points, [&](std::size_t i) { return -a[i]; });
                break;
            case Code::PowWhole:
                OverBlock(result, points,
                          [&](std::size_t i) { return PowerWhole(a[i], in.whole); });
                break;
            case Code::Pow:
                OverBlock(result, points,
                          [&](std::size_t i) { return runtime::Power(a[i], b[i]); });
                break;
            default:  // Code::Unary
                OverBlock(result, points, [&](std::size_t i) { return EvalUnary(in.op, a[i]); });
                break;
        }
    }
}

void TTape::RunFirstAlong(const long double* xs, long double y, std::size_t count,
                          long double* outputs) const {
    thread_local std::vector<long double> registers;
    registers.resize(std::max<std::size_t>(temporaries_, 1) * BlockPoints);
    const Operand& first = outputs_.front();
    for (std::size_t start = 0; start < count; start += BlockPoints) {
        const std::size_t points = std::min(BlockPoints, count - start);
        // The last instruction writes its results where they go; nothing reads them after it.
        long double* lastResults = first.source == Source::Last ? outputs + start
                                   : code_.empty()
                                       ? registers.data()
                                       : registers.data() + code_.back().target * BlockPoints;
        ExecuteBlock(xs + start, y, points, registers.data(), lastResults);
        if (first.source == Source::Last)
            continue;
        for (std::size_t i = 0; i < points; ++i) {
            switch (first.source) {
                case Source::X:
                    outputs[start + i] = xs[start + i];
                    break;
                case Source::Y:
                    outputs[start + i] = y;
                    break;
                case Source::Constant:
                    outputs[start + i] = constants_[first.index];
                    break;
                default:
                    outputs[start + i] = registers[first.index * BlockPoints + i];
                    break;
            }
        }
    }
}

}  // namespace metopt::core::formula
