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

// The reference readings' digits, written apart from the program's own readers they check.
inline bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// 0..15 for a hexadecimal digit, -1 for any other character.
inline int HexValue(char c) {
    if (IsDecimalDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
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
