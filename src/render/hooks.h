#pragma once
// What the drawing routines need of the window: the status line and the Stop flag.
#include <functional>
#include <string>

namespace metopt::render {

// Set by the Stop button, cleared at the start of the other four commands; read before each row by
// the fill and the colour-analysis level lines.
// Deliberate: see docs/behaviour.md, "Stop".
extern bool StopRequested;

// The window connects its status bar here; without a sink the texts go nowhere.
using StatusSink = std::function<void(const std::string&)>;
void SetStatusSink(StatusSink sink);
void ShowStatus(const std::string& text);

// StopRequested cleared and the status sink disconnected (tests).
void ResetHooks();

}  // namespace metopt::render
