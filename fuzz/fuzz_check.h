#pragma once
// What every fuzz target shares: an invariant that does not hold stops the run like a crash, so
// that libFuzzer keeps the input that broke it.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace metopt::fuzz {

[[noreturn]] inline void Broken(const std::string& what) {
    std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
    std::abort();
}

inline void Expect(bool holds, const std::string& what) {
    if (!holds)
        Broken(what);
}

// The input as a text that stays readable in a message (control bytes and bytes above 126 as
// \xHH), cut after `limit` bytes.
inline std::string Printable(const std::string& text, std::size_t limit = 80) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (text.size() > limit)
        out += "...";
    return out;
}

}  // namespace metopt::fuzz
