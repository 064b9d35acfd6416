#pragma once
// The decimal separator of the user's locale, fed to the number formatting.
#include <QString>

namespace metopt::platform {

// The separator a locale's decimal point gives: its one ASCII character, else '.'.
char SeparatorFromDecimalPoint(const QString& decimalPoint);

// The system locale's separator by the rule above.
char SystemDecimalSeparator();

// Reads the system locale's separator and hands it to runtime::SetDecimalSeparator. Called at
// start and again whenever the locale changes.
void ApplySystemDecimalSeparator();

}  // namespace metopt::platform
