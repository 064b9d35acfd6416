#pragma once
// A typed formula that cannot be compiled: "Ошибка в формуле, знак N: <what>", N the 1-based
// position of the character (not byte) in the text as typed.
#include <cstddef>
#include <string>

#include "runtime/exceptions.h"

namespace metopt::core {

class EFormulaError : public runtime::Exception {
  public:
    EFormulaError(std::size_t position, const std::string& detail)
        : Exception("Ошибка в формуле, знак " + std::to_string(position) + ": " + detail),
          position_(position),
          detail_(detail) {}
    std::size_t Position() const noexcept { return position_; }
    const std::string& Detail() const noexcept { return detail_; }

  private:
    std::size_t position_;
    std::string detail_;
};

}  // namespace metopt::core
