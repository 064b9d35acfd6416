#include "runtime/errorreport.h"

namespace metopt::runtime {

namespace {

constexpr unsigned char FullStop = '.';

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xC0 && lead <= 0xDF)
        return 2;
    return 1;
}

// Lowers ASCII letters and the Cyrillic capitals (U+0400..U+042F) of a UTF-8 text in place,
// from byte offset `from` on; every other byte stays as it is.
void LowerLettersFrom(std::string& text, std::size_t from) {
    for (std::size_t i = from; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8SequenceLength(lead);
        if (lead >= 'A' && lead <= 'Z') {
            text[i] = static_cast<char>(lead + ('a' - 'A'));
        } else if (length == 2 && i + 1 < text.size()) {
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            const unsigned code = ((lead & 0x1Fu) << 6) | (trail & 0x3Fu);
            const bool wellFormed = (trail & 0xC0u) == 0x80u;
            unsigned lower = code;
            if (code >= 0x410 && code <= 0x42F)
                lower = code + 0x20;  // А..Я -> а..я
            if (code >= 0x400 && code <= 0x40F)
                lower = code + 0x50;  // Ѐ..Џ -> ѐ..џ
            if (wellFormed && lower != code) {
                text[i] = static_cast<char>(0xC0u | (lower >> 6));
                text[i + 1] = static_cast<char>(0x80u | (lower & 0x3Fu));
            }
        }
        i += length;
    }
}

}  // namespace

// Deliberate: see docs/behaviour.md, "Error box full stop".
std::string ErrorBoxText(const std::string& message) {
    // Compared as a byte: the last byte of a UTF-8 letter is above 127 and so gets the '.' too.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > FullStop) {
        return message + '.';
    }
    return message;
}

// Deliberate: see docs/behaviour.md, "Error box full stop".
std::string ApplicationTitle(const std::string& executablePath) {
    const auto slash = executablePath.rfind('/');
    std::string title =
        slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    title = title.substr(0, title.find('.'));
    if (!title.empty()) {
        LowerLettersFrom(title, Utf8SequenceLength(static_cast<unsigned char>(title[0])));
    }
    return title;
}

}  // namespace metopt::runtime
