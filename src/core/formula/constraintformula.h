#pragma once
// Constraints typed in the formula language, one per line: "x+y <= 1", "x^2 >= y", "x = 2*y, ...",
// with definitions after a comma as in a formula. Each compiles to the function g of g <= 0
// (left − right, or right − left for ">=") or h of h = 0, with exact derivatives. A fault is
// "Ошибка в ограничении N, знак M: <what>", N the constraint's number (empty lines are not
// counted), M the position in its line as typed.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "core/constraint.h"
#include "runtime/exceptions.h"

namespace metopt::core {

class EConstraintError : public runtime::Exception {
  public:
    EConstraintError(std::size_t number, std::size_t position, const std::string& detail);
    std::size_t Number() const noexcept { return number_; }
    std::size_t Position() const noexcept { return position_; }

  private:
    std::size_t number_;
    std::size_t position_;
};

// Compiles one constraint, the `number`-th, or raises EConstraintError.
TConstraint CompileConstraint(std::string_view text, std::size_t number);
// Compiles each line that holds more than blanks (a field's text, its lines ended by "\n" or
// "\r\n"), at most MaxConstraints of them.
TConstraints CompileConstraintLines(std::string_view text);
// Compiles each text of the list, at most MaxConstraints of them.
TConstraints CompileConstraintList(std::span<const std::string> texts);

}  // namespace metopt::core
