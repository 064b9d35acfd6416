#pragma once
// Qt's application object for a run without the window: a QGuiApplication, which pictures and
// fonts need, or, when widgets are to be made (the convergence chart is one), a QApplication; with
// Qt's translations for the locale. Runs `work` inside it and returns what it returns.
#include <functional>

namespace metopt::platform {

int RunInApplication(int& argc, char** argv, bool widgets, const std::function<int()>& work);

}  // namespace metopt::platform
