#pragma once
// Opening a file by its UTF-8 name for reading, the same on Linux and Windows.
#include <string>

namespace metopt::runtime {

// A descriptor open for reading in blocking mode, or -1 with errno set. The open itself does not
// block, so that a FIFO without a writer cannot hang it; the descriptor is not inherited by child
// processes.
int OpenForReading(const std::string& fileName);

// True when the name is that of an existing folder.
bool IsFolder(const std::string& name);

}  // namespace metopt::runtime
