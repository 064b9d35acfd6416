#include "core/equationitems.h"

#include "core/builtinfunctions.h"

namespace metopt::core {

static_assert(FunctionCount == 3);

const char* const ClassicFunctionCaptions[ClassicFunctionCount] = {
    " 100*(y-x*x)^2+(1-x)^2",
    " (x*x+y-11)^2+(x+y*y-7)^2",
    " (x+2*y-7)^2+(2*x+y-5)^2",
    " 0.26*(x*x+y*y)-0.48*x*y",
    " (1.5-x+x*y)^2+(2.25-x+x*y^2)^2+(2.625-x+x*y^3)^2",
    " 2*x^2-1.05*x^4+x^6/6+x*y+y^2",
    " x*x+100*y*y",
};

std::span<const char* const> EquationItems() {
    static const char* const items[EquationItemCount] = {
        FunctionCaptions[0],        FunctionCaptions[1],        FunctionCaptions[2],
        ClassicFunctionCaptions[0], ClassicFunctionCaptions[1], ClassicFunctionCaptions[2],
        ClassicFunctionCaptions[3], ClassicFunctionCaptions[4], ClassicFunctionCaptions[5],
        ClassicFunctionCaptions[6],
    };
    return items;
}

}  // namespace metopt::core
