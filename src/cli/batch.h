#pragma once
// Batch mode: the window's work done off-screen on a workbench of the application layer, driven
// by the command line, writing the picture, the report and the trace, then exiting. No widget is
// made, but for the pictures of the charts, which are widgets.
#include <string>
#include <vector>

namespace metopt::cli {

constexpr int BatchExitOk = 0;
constexpr int BatchExitReported = 1;  // an error was reported (as the window's box would)
constexpr int BatchExitUsage = 2;     // a bad command line

struct BatchCommand;

// The convergence chart and the one-dimensional lab's charts are widgets: a command line that
// writes one's picture needs Qt's widgets (a QApplication); every other needs pictures and fonts
// alone (a QGuiApplication).
bool NeedsWidgets(const BatchCommand& command);

// True when the command line asks for batch mode, help or version rather than the window.
bool WantsCommandLine(const std::vector<std::string>& args);

// Parses the arguments (after the program name) and runs them. argc/argv go to Qt's application
// object.
int RunCommandLine(int& argc, char** argv, const std::vector<std::string>& args);

}  // namespace metopt::cli
