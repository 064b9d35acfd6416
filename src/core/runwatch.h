#pragma once
// What watches a long run while it computes: the run tells it of each evaluation (with the
// iteration under way) and of each method of a comparison as it begins; the watch may end the run
// by raising runtime::EAbort. A run without a watch computes exactly as with one.
#include <cstddef>
#include <cstdint>

#include "core/methods/methodid.h"

namespace metopt::core {

struct TDescent;

class TRunWatch {
  public:
    // Before an evaluation of the run's function; descent.TraceCount is the iteration under way
    // and Trace[1 .. TraceCount - 1] the iterations completed. Raises EAbort to stop the run.
    virtual void Evaluating(const TDescent& descent) = 0;
    // Method `method` begins, the `index`-th (1-based) of `count`.
    virtual void MethodBegins(TMethod method, std::size_t index, std::size_t count) = 0;

  protected:
    ~TRunWatch() = default;
};

}  // namespace metopt::core
