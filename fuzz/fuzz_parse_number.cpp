// ParseNumber on any text: it gives a number (never a NaN nor an infinity) or raises EOverflow,
// and either way leaves no floating-point flag raised for the program's next check. A negative
// result needs a '-' as the first character after the leading blanks.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numparse.h"

using namespace metopt::runtime;
using metopt::fuzz::Broken;
using metopt::fuzz::Expect;
using metopt::fuzz::Printable;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFpu();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ClearFpuFlags();
    try {
        const long double value = ParseNumber(text);
        Expect(!std::isnan(value), "NaN from '" + Printable(text) + "'");
        Expect(!std::isinf(value), "infinity without EOverflow from '" + Printable(text) + "'");
        const std::size_t first = text.find_first_not_of(' ');
        const bool minusFirst = first != std::string::npos && text[first] == '-';
        Expect(!std::signbit(value) || minusFirst, "negative value from '" + Printable(text) + "'");
    } catch (const EOverflow&) {
        // A value beyond the extended range.
    } catch (const Exception& e) {
        Broken("'" + Printable(text) + "' raised " + e.Message());
    }
    try {
        CheckFpu();
    } catch (const Exception& e) {
        Broken("'" + Printable(text) + "' left a flag raised: " + e.Message());
    }
    return 0;
}
