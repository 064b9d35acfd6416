#pragma once
// Nodes of the graph compiled into a flat program of 80-bit operations over a small file of
// registers: x and y, the constants, then temporaries reused once their value is no longer
// needed. Running it reads only the program, so one program runs on several threads at once.
#include <cstdint>
#include <span>
#include <vector>

#include "core/formulagraph.h"

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
    struct Instruction {
        Op op;
        std::uint32_t target;
        std::uint32_t a;
        std::uint32_t b;
        std::int64_t whole;
    };

    void Execute(long double* r) const;

    std::vector<long double> constants_;  // registers 2 ..
    std::vector<Instruction> code_;
    std::vector<std::uint32_t> outputs_;
    std::uint32_t registers_ = 2;
};

}  // namespace metopt::core::formula
