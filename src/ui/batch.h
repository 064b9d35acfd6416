#pragma once
// Batch mode: the same main window built off-screen, driven by the command line, writing the
// picture, the report and the trace, then exiting.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/windowcommands.h"

namespace metopt::ui {

// Makes the main window, loading its palette from the file named.
using WindowFactory = std::function<std::unique_ptr<WindowCommands>(const std::string& palette)>;

constexpr int BatchExitOk = 0;
constexpr int BatchExitReported = 1;  // an error was reported (as the window's box would)
constexpr int BatchExitUsage = 2;     // a bad command line

// True when the command line asks for batch mode, help or version rather than the window.
bool WantsCommandLine(const std::vector<std::string>& args);

// Parses the arguments (after the program name) and runs them on a window made by makeWindow.
// argc/argv go to QApplication.
int RunCommandLine(int& argc, char** argv, const std::vector<std::string>& args,
                   const WindowFactory& makeWindow);

}  // namespace metopt::ui
