#include "core/formula/constraintformula.h"

#include <string>
#include <vector>

#include "core/formula/formula.h"
#include "core/formula/formulaerror.h"
#include "core/formula/parser.h"

namespace metopt::core {

EConstraintError::EConstraintError(std::size_t number, std::size_t position,
                                   const std::string& detail)
    : Exception("Ошибка в ограничении " + std::to_string(number) +
                (position > 0 ? ", знак " + std::to_string(position) : std::string()) + ": " +
                detail),
      number_(number),
      position_(position) {}

TConstraint CompileConstraint(std::string_view text, std::size_t number) {
    try {
        const formula::TConstraintTree parsed = formula::ParseConstraint(text);
        TConstraint constraint;
        constraint.text = TrimmedFormula(text);
        constraint.kind = parsed.relation == formula::TRelation::Equal
                              ? TConstraintKind::Equality
                              : TConstraintKind::Inequality;
        constraint.g = CompileSyntaxTree(std::string(text), parsed.tree);
        return constraint;
    } catch (const EFormulaError& error) {
        throw EConstraintError(number, error.Position(), error.Detail());
    }
}

namespace {

bool Blank(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

// The first constraint beyond the limit is the one refused.
void CheckCount(std::size_t count) {
    if (count > MaxConstraints) {
        throw EConstraintError(MaxConstraints + 1, 0,
                               "ограничений не больше " + std::to_string(MaxConstraints));
    }
}

}  // namespace

TConstraints CompileConstraintLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!Blank(line))
            lines.emplace_back(line);
    }
    return CompileConstraintList(lines);
}

TConstraints CompileConstraintList(std::span<const std::string> texts) {
    CheckCount(texts.size());
    TConstraints constraints;
    for (std::size_t i = 0; i < texts.size(); ++i)
        constraints.push_back(CompileConstraint(texts[i], i + 1));
    return constraints;
}

}  // namespace metopt::core
