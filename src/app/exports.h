#pragma once
// What the window's menu "Файл" and batch mode write: the drawing area as last saved, the
// report's text, the trace and the animation of the last descent. Each raises the program's own
// error when the file cannot be written.
#include <cstdint>
#include <string>
#include <vector>

#include "app/session.h"
#include "core/minimizer.h"

class QImage;

namespace metopt::app {

// Writes text to a file, or to standard output for "-". A failure is raised as the program's own
// error so that it is reported like any other.
void WriteText(const std::string& fileName, const std::string& text);
// A picture as PNG; a failure is raised as the program's own error.
void WritePng(const QImage& picture, const std::string& fileName);
// The saved picture of the drawing area as PNG.
void WritePicture(const TSession& session, const std::string& fileName);
// The report page's lines, each ended by a newline; "-" writes to standard output.
void WriteReport(const std::vector<std::string>& lines, const std::string& fileName);
// TraceCsv of the descent to a file; "-" writes to standard output.
void WriteTraceCsv(const core::TDescent& descent, const std::string& fileName);
// The animation of the last descent with the given frame time, as a GIF. Returns true when its
// pictures had more than 256 colours and were mapped to 256.
bool WriteAnimation(const TSession& session, std::int32_t frameTimeMs, const std::string& fileName);

// Shortest text that reads back as the same 80-bit value; independent of the locale.
std::string RoundTrip(long double value);

// The trace of the last run as CSV: "k,x,y,z" and one row per point with round-trip precision,
// z from the function of the run that wrote the trace (as the report shows it).
// After a run with constraints "outer,k,x,y,z": the path of each outer iteration, its points
// numbered from 1 (the last row of outer iteration n is its outer point).
std::string TraceCsv(const core::TDescent& descent);

}  // namespace metopt::app
