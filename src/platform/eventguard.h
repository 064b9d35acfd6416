#pragma once
// The one guard every event handler runs under: the floating-point flags are cleared, the handler
// runs, and an exception that escapes it ends the handler and is shown in the error box (EAbort
// silently). No exception ever crosses the Qt event loop.
#include <functional>
#include <string>

class QObject;

namespace metopt::platform {

using Handler = std::function<void()>;

// Runs a handler that an event (a click, a typed text, a tick, a mouse move) started.
void RunEvent(const Handler& handler);

// What one painted widget remembers of its failed paints.
struct PaintFailures {
    std::string last;  // the message of the last failed paint, while none has succeeded since
    bool reportPending = false;
};

// Runs the handler of a paint event of `widget`. A failure is reported after the paint, through
// the event loop, and the same message is not reported again until a paint succeeds, so a failing
// repaint cannot bring an endless series of boxes.
void RunPaint(const Handler& handler, PaintFailures& failures, QObject& widget);

// The caption of every error box: the application title of the running executable.
std::string ErrorBoxCaption();

// Shows the error box for an exception message (the '.' rule applied).
void ReportError(const std::string& message);

}  // namespace metopt::platform
