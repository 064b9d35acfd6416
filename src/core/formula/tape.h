#pragma once
// Nodes of the graph compiled into a flat program of 80-bit operations over a small file of
// registers: x and y, the constants, then temporaries reused once their value is no longer
// needed. Running it reads only the program, so one program runs on several threads at once.
#include <cstdint>
#include <span>
#include <vector>

#include "core/formula/graph.h"

namespace metopt::core::formula {

class TTape {
  public:
    TTape() = default;
    // The program that computes the nodes `roots` of the graph, in that order.
    TTape(const TGraph& graph, std::span<const int> roots);

    // Writes the roots' values to outputs[0 .. roots - 1]. Raises nothing: the floating-point
    // flags say what went wrong, and the caller checks them.
    void Run(long double x, long double y, long double* outputs) const;

    std::size_t Instructions() const { return code_.size(); }
    std::size_t Registers() const { return registers_; }

  private:
    // An operand that is the previous instruction's result is taken from where that result still
    // is, not read back from its register: a value stored and loaded again at once is slow on
    // x87. A result that only the next instruction reads is not stored.
    struct Instruction {
        Op op;
        bool aIsLast = false;
        bool bIsLast = false;
        bool store = true;
        std::uint32_t target;
        std::uint32_t a;
        std::uint32_t b;
        std::int64_t whole;
    };

    void Execute(long double* r) const;
    void MarkLastResults(const TGraph& graph, const std::vector<int>& nodeOf,
                         const std::vector<bool>& isRoot, const std::vector<int>& lastUse);

    std::vector<long double> constants_;  // registers 2 ..
    std::vector<Instruction> code_;
    std::vector<std::uint32_t> outputs_;
    std::uint32_t registers_ = 2;
};

}  // namespace metopt::core::formula
