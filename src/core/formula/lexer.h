#pragma once
// The tokens of a typed formula: numbers, names (lower-cased), the signs + - * / ^ ( ) , =, the
// end of the text, and a character the language does not know. Blanks between tokens are
// skipped. Each token knows the 1-based character position where it begins.
#include <cstddef>
#include <string>
#include <string_view>

namespace metopt::core::formula {

struct TToken {
    enum class Kind : unsigned char { Number, Name, Sign, End, Unknown };
    Kind kind = Kind::End;
    char sign = 0;             // Sign: the character
    long double value = 0;     // Number
    std::string text;          // as typed
    std::string name;          // Name: the text lower-cased
    std::size_t position = 0;  // 1-based, in characters; the end of the text: its last one
};

class TLexer {
  public:
    explicit TLexer(std::string_view text) : text_(text) {}
    // The next token; raises EFormulaError for a number beyond the extended range. The end of
    // the text is placed at its last character (1 for an empty text), so that every position
    // lies inside the text.
    TToken Next();

  private:
    TToken Number();
    TToken Name();
    // Moves to byte `end`, counting the characters passed.
    void MoveTo(std::size_t end);

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t charactersBefore_ = 0;  // before at_
};

// The length of a text in characters: UTF-8 sequences, any other byte counting as one.
std::size_t CharacterCount(std::string_view text);

}  // namespace metopt::core::formula
