#include "cli/batchprogress.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>

namespace metopt::cli {

namespace {

volatile std::sig_atomic_t interrupts = 0;

extern "C" void OnInterrupt(int) {
    interrupts = interrupts + 1;
    if (interrupts > 1)
        _exit(BatchExitInterrupted);
}

// The width of a UTF-8 text in characters (each progress text's characters are one column wide).
std::size_t Columns(const std::string& text) {
    std::size_t columns = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++columns;
    }
    return columns;
}

}  // namespace

BatchInterrupt::BatchInterrupt() {
    interrupts = 0;
    std::signal(SIGINT, OnInterrupt);
}

BatchInterrupt::~BatchInterrupt() {
    std::signal(SIGINT, SIG_DFL);
}

BatchProgress::BatchProgress() : terminal_(isatty(STDERR_FILENO) != 0) {}

BatchProgress::~BatchProgress() {
    EndLine();
}

bool BatchProgress::Interrupted() {
    return interrupts > 0;
}

bool BatchProgress::Waiting(const std::string& progress) {
    if (terminal_) {
        const std::size_t width = Columns(progress);
        std::cerr << '\r' << progress;
        if (width < shownWidth_)
            std::cerr << std::string(shownWidth_ - width, ' ');
        std::cerr.flush();
        shownWidth_ = width;
    }
    return Interrupted();
}

void BatchProgress::EndLine() {
    if (shownWidth_ == 0)
        return;
    std::cerr << '\r' << std::string(shownWidth_, ' ') << '\r';
    std::cerr.flush();
    shownWidth_ = 0;
}

}  // namespace metopt::cli
