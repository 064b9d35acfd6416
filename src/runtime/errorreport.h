#pragma once
// The texts of the error box every handler failure ends in.
#include <string>

namespace metopt::runtime {

// The message as shown: a '.' is appended when the message is not empty and its last character
// sorts after '.' (code above 46).
std::string ErrorBoxText(const std::string& message);

// The box's caption: the executable's file name without its folder, cut at its first '.', every
// letter after the first in lower case ("/usr/bin/MetOpt.exe" -> "Metopt").
std::string ApplicationTitle(const std::string& executablePath);

}  // namespace metopt::runtime
