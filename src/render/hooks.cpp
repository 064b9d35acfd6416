#include "render/hooks.h"

#include <utility>

namespace metopt::render {

bool StopRequested = false;

namespace {
StatusSink& CurrentSink() {
    static StatusSink sink;
    return sink;
}
}  // namespace

void SetStatusSink(StatusSink sink) {
    CurrentSink() = std::move(sink);
}

void ShowStatus(const std::string& text) {
    // A copy, so that a sink which replaces itself does not destroy the function it runs in.
    const StatusSink sink = CurrentSink();
    if (sink)
        sink(text);
}

void ResetHooks() {
    StopRequested = false;
    CurrentSink() = nullptr;
}

}  // namespace metopt::render
