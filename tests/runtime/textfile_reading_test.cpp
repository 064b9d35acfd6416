// Reading a text file: integer tokens with their errors, and skipped lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/textfile.h"
#include "support/textfile_fixture.h"

namespace metopt::runtime {
namespace {

// --- Integer tokens -----------------------------------------------------------------------------

struct Read {
    std::int32_t value;
    int error;  // pending error right after this read
};

struct TokenCase {
    const char* name;
    std::string text;
    std::vector<Read> reads;
};

void PrintTo(const TokenCase& row, std::ostream* os) {
    *os << row.name;
}

class TokenTest : public TextFileTest, public ::testing::WithParamInterface<TokenCase> {};

TEST_P(TokenTest, ReadsValuesAndErrors) {
    Open(GetParam().text);
    for (std::size_t i = 0; i < GetParam().reads.size(); ++i) {
        const Read& expected = GetParam().reads[i];
        EXPECT_EQ(file_.ReadInteger(), expected.value) << "read " << i;
        EXPECT_EQ(IOResult(), expected.error) << "read " << i;
        SetIOError(0);
    }
}

const std::string ThirtyTwoZeros(32, '0');

INSTANTIATE_TEST_SUITE_P(
    Tokens, TokenTest,
    ::testing::Values(
        TokenCase{"Decimal", "12 -5 +7 0 007", {{12, 0}, {-5, 0}, {7, 0}, {0, 0}, {7, 0}}},
        TokenCase{"HexDollar", "$FF $ff $0", {{255, 0}, {255, 0}, {0, 0}}},
        TokenCase{"HexZeroX",
                  "0x10 0X1f -$10 +0x7fffffff",
                  {{16, 0}, {31, 0}, {-16, 0}, {2147483647, 0}}},
        TokenCase{"SignAlone", "- + 5", {{0, 106}, {0, 106}, {5, 0}}},
        TokenCase{"PrefixWithoutDigits",
                  "$ 0x 0X x10 $-1",
                  {{0, 106}, {0, 106}, {0, 106}, {0, 106}, {0, 106}}},
        TokenCase{"NotAnInteger", "12a 1.5 1e3 3", {{0, 106}, {0, 106}, {0, 106}, {3, 0}}},
        TokenCase{"BytesAboveAsciiBelongToTheToken",
                  "5\xC3\xA9 \x7F"
                  "6 7",
                  {{0, 106}, {0, 106}, {7, 0}}},
        TokenCase{"LowThirtyTwoBitsAsSigned",
                  "4294967295 4294967296 2147483648 -2147483649",
                  {{-1, 0}, {0, 0}, {INT32_MIN, 0}, {2147483647, 0}}},
        TokenCase{"DecimalSixtyFourBitRange",
                  "9223372036854775807 -9223372036854775808 9223372036854775808 "
                  "-9223372036854775809 99999999999999999999",
                  {{-1, 0}, {0, 0}, {0, 106}, {0, 106}, {0, 106}}},
        TokenCase{"HexSixtyFourBitRange",
                  "$FFFFFFFFFFFFFFFF $10000000000000000 $00000000000000000001 -$FFFFFFFFFFFFFFFF",
                  {{-1, 0}, {0, 106}, {1, 0}, {1, 0}}},
        // A run longer than 32 characters is cut; the remainder is the next token.
        TokenCase{"LongRunSplitAfter32", ThirtyTwoZeros + "7 8", {{0, 0}, {7, 0}, {8, 0}}},
        TokenCase{
            "LongWordGivesTwoErrors", std::string(40, 'a') + " 9", {{0, 106}, {0, 106}, {9, 0}}},
        TokenCase{"ControlCharactersSeparate",
                  "\x01\x02 1\x1F"
                  "2\t3\x7 4",
                  {{1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        TokenCase{"AcrossLineEnds", "\r\n\r\n  4\n\n5\r6\r\n", {{4, 0}, {5, 0}, {6, 0}, {0, 0}}},
        TokenCase{"EndOfFileReadsZero", "7", {{7, 0}, {0, 0}, {0, 0}}},
        TokenCase{"EmptyFile", "", {{0, 0}, {0, 0}}}, TokenCase{"BlanksOnly", " \r\n\t ", {{0, 0}}},
        TokenCase{"CtrlZEndsTheFile", "1 2\x1A 3 4", {{1, 0}, {2, 0}, {0, 0}, {0, 0}}},
        TokenCase{"CtrlZEndsAToken",
                  "12\x1A"
                  "34",
                  {{12, 0}, {0, 0}}},
        TokenCase{"CtrlZAfterBlanks",
                  "1 \r\n\x1A"
                  "5",
                  {{1, 0}, {0, 0}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(TextFileTest, TokensSpanTheReadBuffer) {
    // The buffer holds 128 bytes: this token starts at byte 126 and ends in the next block.
    Open(std::string(126, ' ') + "12345 " + std::string(300, '\n') + "-678");
    EXPECT_EQ(file_.ReadInteger(), 12345);
    EXPECT_EQ(file_.ReadInteger(), -678);
    EXPECT_EQ(file_.ReadInteger(), 0);
    EXPECT_EQ(IOResult(), 0);
}

TEST_F(TextFileTest, ReadsManyNumbers) {
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += std::to_string(i * 7 - 3000) + (i % 9 ? " " : "\r\n");
    Open(text);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(file_.ReadInteger(), i * 7 - 3000);
    EXPECT_EQ(file_.ReadInteger(), 0);
    EXPECT_EQ(IOResult(), 0);
}

TEST_F(TextFileTest, EndOfFileChangesNothing) {
    Open("1");
    EXPECT_EQ(file_.ReadInteger(), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(file_.ReadInteger(), 0);
        file_.SkipLine();
    }
    EXPECT_TRUE(file_.IsOpen());
    EXPECT_EQ(IOResult(), 0);
}

// --- Lines ---------------------------------------------------------------------------------------

// 'R' reads an integer that must equal `value`; 'S' skips a line.
struct Step {
    char op;
    std::int32_t value = 0;
};

struct LineCase {
    const char* name;
    std::string text;
    std::vector<Step> steps;
};

void PrintTo(const LineCase& row, std::ostream* os) {
    *os << row.name;
}

class LineTest : public TextFileTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineTest, SkipsLines) {
    Open(GetParam().text);
    for (std::size_t i = 0; i < GetParam().steps.size(); ++i) {
        const Step& step = GetParam().steps[i];
        if (step.op == 'S') {
            file_.SkipLine();
        } else {
            EXPECT_EQ(file_.ReadInteger(), step.value) << "step " << i;
        }
    }
    EXPECT_EQ(IOResult(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineTest,
    ::testing::Values(
        LineCase{"CrLf", "1 a b\r\n2 c\r\n3", {{'R', 1}, {'S'}, {'R', 2}, {'S'}, {'R', 3}}},
        LineCase{"LoneCr", "1 a\r2 b\r3", {{'R', 1}, {'S'}, {'R', 2}, {'S'}, {'R', 3}}},
        LineCase{"LoneLf", "1 a\n2 b\n3", {{'R', 1}, {'S'}, {'R', 2}, {'S'}, {'R', 3}}},
        // After a CR only one LF belongs to the line end: the next LF is a line of its own.
        LineCase{"CrTakesOneLf", "1\r\n\nskipped\r\n5", {{'R', 1}, {'S'}, {'S'}, {'S'}, {'R', 5}}},
        LineCase{"CrThenOtherCharacterStays", "1\r2", {{'R', 1}, {'S'}, {'R', 2}}},
        LineCase{"LfCrIsTwoLineEnds", "1\n\r2 x\r\n3", {{'R', 1}, {'S'}, {'S'}, {'R', 2}}},
        LineCase{"SkipFromLineStart", "x y z\r\n4", {{'S'}, {'R', 4}}},
        LineCase{"SkipAtEndOfFile", "1", {{'R', 1}, {'S'}, {'S'}, {'R', 0}}},
        LineCase{"CtrlZStopsTheSkip", "1 a\x1A\r\n2", {{'R', 1}, {'S'}, {'R', 0}}},
        LineCase{"LongLineSpansTheBuffer",
                 "1 " + std::string(300, '#') + "\r\n9",
                 {{'R', 1}, {'S'}, {'R', 9}}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace metopt::runtime
