#pragma once
// What batch mode shows and hears while a run computes: its progress on one rewritten line of
// standard error when that is a terminal (nothing otherwise, so logs keep their bytes), and an
// interrupt (SIGINT, Ctrl+C) that stops the run so that the command line ends with status 130
// before writing anything more.
#include <string>

namespace metopt::cli {

constexpr int BatchExitInterrupted = 130;  // 128 + SIGINT, as shells report it

// Catches SIGINT while it lives (batch mode's steps): the first one asks a run to stop and ends
// the command line after the step under way; a second ends the program at once with status 130.
class BatchInterrupt {
  public:
    BatchInterrupt();
    ~BatchInterrupt();
    BatchInterrupt(const BatchInterrupt&) = delete;
    BatchInterrupt& operator=(const BatchInterrupt&) = delete;
};

class BatchProgress {
  public:
    BatchProgress();
    ~BatchProgress();
    BatchProgress(const BatchProgress&) = delete;
    BatchProgress& operator=(const BatchProgress&) = delete;

    // Shows the progress text (on a terminal); true when an interrupt asks the run to stop.
    bool Waiting(const std::string& progress);
    // Clears the progress line, if one is shown.
    void EndLine();
    static bool Interrupted();

  private:
    bool terminal_ = false;
    std::size_t shownWidth_ = 0;
};

}  // namespace metopt::cli
