#include "runtime/errorreport.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/exceptions.h"

namespace metopt::runtime {
namespace {

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

void PrintTo(const TextCase& row, std::ostream* os) {
    *os << row.name;
}

class ErrorBoxTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ErrorBoxTextTest, AppendsAFullStopAfterCodesAbove46) {
    EXPECT_EQ(ErrorBoxText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ErrorBoxTextTest,
    ::testing::Values(TextCase{"Letter", "File not found", "File not found."},
                      TextCase{"Digit", "I/O error 32", "I/O error 32."},
                      TextCase{"Slash", "a/", "a/."},  // '/' is 47, the first code that gets one
                      TextCase{"Apostrophe", "'a'", "'a'"},  // 39
                      TextCase{"AlreadyFullStop", "Done.", "Done."}, TextCase{"Comma", "a,", "a,"},
                      TextCase{"Hyphen", "a-", "a-"}, TextCase{"Parenthesis", "(a)", "(a)"},
                      TextCase{"Exclamation", "a!", "a!"}, TextCase{"Blank", "a ", "a "},
                      TextCase{"Empty", "", ""}, TextCase{"RussianLetter", "Ошибка", "Ошибка."}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ErrorBoxText, ShowsTheReaderAndConversionMessagesWithAFullStop) {
    EXPECT_EQ(ErrorBoxText(EInOutError(2).Message()), "File not found.");
    EXPECT_EQ(ErrorBoxText(EInOutError(106).Message()), "Invalid numeric input.");
    EXPECT_EQ(ErrorBoxText(EConvertError::NotAnInteger("1,5").Message()),
              "'1,5' is not a valid integer value.");
}

class ApplicationTitleTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ApplicationTitleTest, NameWithoutFolderCutAtFirstDotLowered) {
    EXPECT_EQ(ApplicationTitle(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ApplicationTitleTest,
    ::testing::Values(TextCase{"WindowsStyleName", "/usr/bin/MetOpt.exe", "Metopt"},
                      TextCase{"PlainName", "metopt", "metopt"},
                      TextCase{"RelativePath", "./build/src/ui/metopt", "metopt"},
                      TextCase{"CapitalsAfterTheFirst", "/opt/METOPT", "Metopt"},
                      TextCase{"FirstLetterKept", "mETOPT", "metopt"},
                      TextCase{"DigitsStay", "Prog2X.bin", "Prog2x"},
                      TextCase{"CutAtFirstDot", "a.b.c", "a"},
                      TextCase{"DotsInFoldersIgnored", "/home/x.y/Tool", "Tool"},
                      TextCase{"LeadingDot", "/tmp/.Hidden", ""},
                      TextCase{"FolderOnly", "/opt/x/", ""}, TextCase{"Empty", "", ""},
                      TextCase{"Cyrillic", "/opt/МЕТОПТ.exe", "Метопт"},
                      TextCase{"CyrillicYo", "ЁЛКА", "Ёлка"}, TextCase{"YoAfterLatin", "AЁ", "Aё"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace metopt::runtime
