#include "core/equationitems.h"

#include <array>

#include "core/builtinfunctions.h"
#include "core/formula/lexer.h"

namespace metopt::core {

static_assert(FunctionCount == 3);

const char* const ClassicFunctionNames[ClassicFunctionCount] = {
    "Розенброк", "Химмельблау", "Бут", "Матьяс", "Бил", "Трехгорбый верблюд", "Овраг",
};

const char* const ClassicFormulas[ClassicFunctionCount] = {
    " 100*(y-x*x)^2+(1-x)^2",
    " (x*x+y-11)^2+(x+y*y-7)^2",
    " (x+2*y-7)^2+(2*x+y-5)^2",
    " 0.26*(x*x+y*y)-0.48*x*y",
    " (1.5-x+x*y)^2+(2.25-x+x*y^2)^2+(2.625-x+x*y^3)^2",
    " 2*x^2-1.05*x^4+x^6/6+x*y+y^2",
    " x*x+100*y*y",
};

// Each minimum inside its region, away from the start.
const ClassicView ClassicViews[ClassicFunctionCount] = {
    {"-2", "2", "-1", "3", "0.5", "0.5", "-1.2", "1"},    // Rosenbrock: (1, 1)
    {"-5", "5", "-5", "5", "1", "1", "0", "0"},           // Himmelblau: four minima
    {"-10", "10", "-10", "10", "2", "2", "-5", "-5"},     // Booth: (1, 3)
    {"-10", "10", "-10", "10", "2", "2", "-8", "6"},      // Matyas: (0, 0)
    {"-4.5", "4.5", "-4.5", "4.5", "1", "1", "1", "1"},   // Beale: (3, 0.5)
    {"-2", "2", "-2", "2", "0.5", "0.5", "-1.5", "1.5"},  // three-hump camel: (0, 0)
    {"-12", "12", "-1.2", "1.2", "2", "0.2", "10", "1"},  // ravine: (0, 0)
};

std::span<const char* const> EquationItems() {
    static const std::array<std::string, ClassicFunctionCount> classic = [] {
        std::array<std::string, ClassicFunctionCount> captions;
        for (std::size_t i = 0; i < captions.size(); ++i)
            captions[i] = std::string(" ") + ClassicFunctionNames[i] + ":" + ClassicFormulas[i];
        return captions;
    }();
    static const std::array<const char*, EquationItemCount> items = [] {
        std::array<const char*, EquationItemCount> all{};
        std::size_t i = 0;
        for (const char* caption : FunctionCaptions)
            all[i++] = caption;
        for (const std::string& caption : classic)
            all[i++] = caption.c_str();
        return all;
    }();
    return items;
}

std::string EquationFormula(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return std::string(text);
    for (const char* name : ClassicFunctionNames) {
        const std::string prefix = std::string(name) + ":";
        if (text.substr(start).starts_with(prefix)) {
            return std::string(text.substr(0, start)) +
                   std::string(formula::CharacterCount(prefix), ' ') +
                   std::string(text.substr(start + prefix.size()));
        }
    }
    return std::string(text);
}

}  // namespace metopt::core
