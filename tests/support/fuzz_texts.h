#pragma once
// Random choices that a seed repeats, and the texts a fuzzed user types: plausible numbers,
// hostile texts and long ones; and how a text shows in a list of actions.
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace metopt::testsupport {

// The same seed gives the same choices on every run and machine.
class Random {
  public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int p) { return Below(100) < p; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }

  private:
    std::mt19937_64 engine_;
};

// Texts no field expects: beyond every range, not numbers, separators of other locales, empty,
// long, not ASCII.
inline const std::vector<std::string> HostileTexts = {
    "",
    "nan",
    "NaN",
    "-nan",
    "inf",
    "-inf",
    "Infinity",
    "1e99999",
    "-1e99999",
    "1e-99999",
    "1e4932",
    "1.18973149535723176502e+4932",
    "1e4933",
    "-1e4933",
    "3.6e-4951",
    "1e-4940",
    "1e308",
    "1e-320",
    "99999999999999999999999999999999",
    "-9223372036854775808",
    "9223372036854775807",
    "18446744073709551616",
    "2147483647",
    "2147483648",
    "-2147483648",
    "4294967295",
    "4294967296",
    "$7FFFFFFF",
    "$FFFFFFFF",
    "$",
    "0x10",
    "1,5",
    "0,0000001",
    ",",
    ".",
    "..",
    "-",
    "+",
    "--1",
    "+-0",
    "e",
    "1e",
    "1e+",
    ".e1",
    "0",
    "-0",
    "0.0",
    "00000000000000000000000001",
    " 3",
    "3 ",
    "\t7",
    "1 000",
    "abc",
    "x",
    "1.3.5",
    "１２",
    "Отчет",
    "∞",
    "½",
    "😀",
    "z=x*x",
    "'",
    "\"",
    "%s%n%d",
    "\\",
    std::string(1, '\0'),
};

// Texts a user means: numbers near the ranges of the fields.
inline std::string PlausibleText(Random& random) {
    switch (random.Below(6)) {
        case 0:
            return std::to_string(random.Between(-5, 30));
        case 1:
            return std::to_string(random.Between(0, 300));
        case 2:
            return std::to_string(random.Between(-3, 3)) + "." + std::to_string(random.Below(100));
        case 3:
            return "0.0" + std::to_string(random.Between(1, 9));
        case 4:
            return std::to_string(random.Between(1, 10000));
        default:
            return "1e" + std::to_string(random.Between(-9, 3));
    }
}

inline std::string LongText(Random& random) {
    const int length = random.Between(100, 4000);
    switch (random.Below(4)) {
        case 0:
            return std::string(static_cast<std::size_t>(length), '9');
        case 1:
            return "1" + std::string(static_cast<std::size_t>(length), '0');
        case 2:
            return "0." + std::string(static_cast<std::size_t>(length), '0') + "1";
        default: {
            std::string text;
            const char* const pieces[] = {"1", "-", ".", "e", ",", "x", "ж", " ", "9"};
            for (int i = 0; i < length / 2; ++i) {
                text += pieces[random.Below(9)];
            }
            return text;
        }
    }
}

inline std::string AnyText(Random& random) {
    const int kind = random.Below(100);
    if (kind < 50) {
        return PlausibleText(random);
    }
    if (kind < 90) {
        return random.Pick(HostileTexts);
    }
    return LongText(random);
}

// How a text shows in the action list: quoted, control characters escaped, long ones shortened.
inline std::string Quoted(const std::string& text) {
    std::string shown;
    for (const char c : text.substr(0, 40)) {
        if (static_cast<unsigned char>(c) < 0x20) {
            shown += "\\x" + std::to_string(static_cast<int>(c));
        } else {
            shown += c;
        }
    }
    if (text.size() > 40) {
        shown += "...(" + std::to_string(text.size()) + " bytes)";
    }
    return "\"" + shown + "\"";
}

}  // namespace metopt::testsupport
