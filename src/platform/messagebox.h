#pragma once
// The modal error box: error icon, caption, text, one OK button. Tests and a batch run replace the
// handler to capture the boxes instead of showing them.
#include <functional>
#include <string>

namespace metopt::platform {

using ErrorBoxHandler = std::function<void(const std::string& caption, const std::string& text)>;

// Installs a handler for every later box; an empty handler puts back the modal box.
void SetErrorBoxHandler(ErrorBoxHandler handler);

// Shows the box (or hands it to the installed handler) and returns when it is closed.
void ShowErrorBox(const std::string& caption, const std::string& text);

}  // namespace metopt::platform
