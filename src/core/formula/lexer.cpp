#include "core/formula/lexer.h"

#include <locale.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/formula/formulaerror.h"

namespace metopt::core::formula {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The end of the character that begins at byte i: a lead byte with the continuation bytes it
// announces; any other byte (a stray continuation byte among them) is a character of its own.
std::size_t CharacterEnd(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    std::size_t end = i + 1;
    while (end < text.size() && end <= i + more && IsContinuation(text[end]))
        ++end;
    return end;
}
bool IsSign(char c) {
    switch (c) {
        case '+':
        case '-':
        case '*':
        case '/':
        case '^':
        case '(':
        case ')':
        case ',':
        case '=':
            return true;
        default:
            return false;
    }
}

// The number's text read in the "C" locale, whatever the program's locale: the point is '.'.
// On Windows the C library's locale stays "C" (Qt sets the user's locale on Unix only), and MinGW
// has no strtold_l.
long double ReadNumber(const std::string& text) {
#ifdef _WIN32
    return std::strtold(text.c_str(), nullptr);
#else
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return strtold_l(text.c_str(), nullptr, cLocale);
#endif
}

}  // namespace

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i = CharacterEnd(text, i))
        ++count;
    return count;
}

void TLexer::MoveTo(std::size_t end) {
    while (at_ < end) {
        at_ = CharacterEnd(text_, at_);
        ++charactersBefore_;
    }
}

TToken TLexer::Next() {
    std::size_t end = at_;
    while (end < text_.size() && IsBlank(text_[end]))
        ++end;
    MoveTo(end);
    TToken token;
    token.position = charactersBefore_ + 1;
    if (at_ == text_.size()) {
        token.position = std::max<std::size_t>(charactersBefore_, 1);
        return token;
    }
    const char c = text_[at_];
    if (IsDigit(c) || (c == '.' && at_ + 1 < text_.size() && IsDigit(text_[at_ + 1])))
        return Number();
    if (IsLetter(c))
        return Name();
    if (IsSign(c)) {
        token.kind = TToken::Kind::Sign;
        token.sign = c;
        token.text = std::string(1, c);
        MoveTo(at_ + 1);
        return token;
    }
    // One whole character, however many bytes it takes.
    token.kind = TToken::Kind::Unknown;
    end = CharacterEnd(text_, at_);
    token.text = std::string(text_.substr(at_, end - at_));
    MoveTo(end);
    return token;
}

TToken TLexer::Number() {
    const std::size_t start = at_;
    std::size_t end = start;
    while (end < text_.size() && IsDigit(text_[end]))
        ++end;
    if (end < text_.size() && text_[end] == '.') {
        ++end;
        while (end < text_.size() && IsDigit(text_[end]))
            ++end;
    }
    // An exponent needs its digits: otherwise the 'e' begins the next token.
    if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
        std::size_t digits = end + 1;
        if (digits < text_.size() && (text_[digits] == '+' || text_[digits] == '-'))
            ++digits;
        if (digits < text_.size() && IsDigit(text_[digits])) {
            end = digits;
            while (end < text_.size() && IsDigit(text_[end]))
                ++end;
        }
    }
    TToken token;
    token.kind = TToken::Kind::Number;
    token.position = charactersBefore_ + 1;
    token.text = std::string(text_.substr(start, end - start));
    token.value = ReadNumber(token.text);
    if (std::isinf(token.value))
        throw EFormulaError(token.position, "число \"" + token.text + "\" слишком велико");
    MoveTo(end);
    return token;
}

TToken TLexer::Name() {
    const std::size_t start = at_;
    std::size_t end = start;
    while (end < text_.size() && (IsLetter(text_[end]) || IsDigit(text_[end])))
        ++end;
    TToken token;
    token.kind = TToken::Kind::Name;
    token.position = charactersBefore_ + 1;
    token.text = std::string(text_.substr(start, end - start));
    token.name = token.text;
    for (char& c : token.name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    MoveTo(end);
    return token;
}

}  // namespace metopt::core::formula
