#pragma once
// Nodes of the graph compiled into a flat program of 80-bit operations. An operand is read from
// where it is: x and y from the call's arguments, a constant from the program, a temporary from
// a small file of registers (reused once their value is no longer needed), or the previous
// instruction's result from where it still is. Running it reads only the program, so one program
// runs on several threads at once.
#include <cstdint>
#include <span>
#include <vector>

#include "core/formula/graph.h"

namespace metopt::core::formula {

class TTape {
  public:
    // What an instruction does: the arithmetic is done in the loop itself, a product of a value
    // with itself (x*x, x^2) reads it once, other operations are called.
    enum class Code : std::uint8_t { Add, Sub, Mul, Div, Square, Neg, PowWhole, Pow, Unary };

    TTape() = default;
    // The program that computes the nodes `roots` of the graph, in that order.
    TTape(const TGraph& graph, std::span<const int> roots);

    // Writes the roots' values to outputs[0 .. roots - 1]. Raises nothing: the floating-point
    // flags say what went wrong, and the caller checks them.
    void Run(long double x, long double y, long double* outputs) const;
    // The first root's value, as Run gives it: for a program of one root, with no store of it.
    long double RunFirst(long double x, long double y) const;
    // RunFirst at (xs[i], y) for i < count, into outputs[i]: the same values, bit for bit, and the
    // same flags raised, with each instruction done over a block of points before the next.
    void RunFirstAlong(const long double* xs, long double y, std::size_t count,
                       long double* outputs) const;

    std::size_t Instructions() const { return code_.size(); }

  private:
    // Where an operand is. The first four index the bases that Execute is given.
    enum class Source : std::uint8_t { Temporary, Constant, X, Y, Last };
    struct Operand {
        Source source = Source::Temporary;
        std::uint32_t index = 0;
    };
    // A value stored and loaded again at once is slow on x87, so a result that only the next
    // instruction reads is not stored: the next one takes it as Source::Last.
    struct Instruction {
        Code code;
        Op op;
        bool store = true;
        Source aSource = Source::Temporary;
        Source bSource = Source::Temporary;
        std::uint32_t target = 0;
        std::uint32_t a = 0;
        std::uint32_t b = 0;
        std::int64_t whole = 0;
    };
    using Bases = const long double* const[4];

    static Code CodeOf(const TGraphNode& node);
    // An operand's value: `last` for Source::Last, else from its base.
    static long double Read(const Bases& bases, Source source, std::uint32_t index,
                            long double last) {
        return source == Source::Last ? last : bases[static_cast<int>(source)][index];
    }
    long double Execute(const Bases& bases, long double* temporaries) const;
    // A step over a block: instruction `first`, or it and the next one fused.
    struct BlockStep {
        std::uint32_t first;
        bool fused;
    };
    static bool IsArithmetic(Code code);
    void PlanBlockSteps();
    // The block's results of the last instruction go to lastResults, the others to registers.
    void ExecuteBlock(const long double* xs, const long double& y, std::size_t points,
                      long double* registers, long double* lastResults) const;
    long double* Temporaries(long double* onStack) const;
    void MarkLastResults(const TGraph& graph, const std::vector<int>& nodeOf,
                         const std::vector<bool>& isRoot, const std::vector<int>& lastUse);

    std::vector<long double> constants_;
    std::vector<Instruction> code_;
    std::vector<BlockStep> blockSteps_;
    std::vector<Operand> outputs_;
    std::uint32_t temporaries_ = 0;
};

}  // namespace metopt::core::formula
