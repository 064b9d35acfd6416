#pragma once
// What batch mode writes: the drawing area as last saved, the report's text and the trace.
#include <string>

#include "core/minimizer.h"

namespace metopt::ui {

class TfmMnForm;

// The saved picture of the drawing area as PNG.
void WritePicture(const TfmMnForm& form, const std::string& fileName);
// The report page's lines, each ended by a newline; "-" writes to standard output.
void WriteReport(const TfmMnForm& form, const std::string& fileName);
// TraceCsv of the window's descent to a file; "-" writes to standard output.
void WriteTraceCsv(const TfmMnForm& form, const std::string& fileName);

// The trace of the last run as CSV: "k,x,y,z" and one row per point with round-trip precision,
// z from the function of the run that wrote the trace (as the report shows it).
std::string TraceCsv(const core::TDescent& descent);

}  // namespace metopt::ui
