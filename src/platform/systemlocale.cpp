#include "platform/systemlocale.h"

#include <QLocale>

#include "runtime/numformat.h"

namespace metopt::platform {

// Deliberate: see docs/behaviour.md, "Locale separator check".
char SeparatorFromDecimalPoint(const QString& decimalPoint) {
    if (decimalPoint.size() != 1) {
        return '.';
    }
    const char16_t c = decimalPoint.at(0).unicode();
    // Only a printable ASCII character can stand in the program's single-byte number texts.
    if (c <= 32 || c >= 127) {
        return '.';
    }
    return static_cast<char>(c);
}

char SystemDecimalSeparator() {
    return SeparatorFromDecimalPoint(QLocale::system().decimalPoint());
}

void ApplySystemDecimalSeparator() {
    runtime::SetDecimalSeparator(SystemDecimalSeparator());
}

}  // namespace metopt::platform
