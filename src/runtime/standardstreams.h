#pragma once
// Standard output and error of the command line, the same bytes on every system.

namespace metopt::runtime {

// On Windows: a window program started from a console writes to that console (it has no standard
// handles of its own), and both streams are binary, so that a report or CSV written to "-" keeps
// its line ends as on Linux. Elsewhere nothing to do.
void PrepareStandardStreams();

}  // namespace metopt::runtime
