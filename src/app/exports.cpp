#include "app/exports.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <vector>

#include "app/gifexport.h"
#include "core/builtinfunctions.h"
#include "core/minimizer.h"
#include "runtime/exceptions.h"

namespace metopt::app {

std::string RoundTrip(long double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + '\n';
    return text;
}

}  // namespace

void WriteText(const std::string& fileName, const std::string& text) {
    if (fileName == "-") {
        std::cout << text << std::flush;
        return;
    }
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw runtime::Exception("Cannot write " + fileName);
}

void WritePicture(const TSession& session, const std::string& fileName) {
    const auto& image = session.SavedPicture.BackingImage;
    if (!image || !image->Image().save(QString::fromStdString(fileName), "PNG")) {
        throw runtime::Exception("Cannot write " + fileName);
    }
}

void WriteReport(const std::vector<std::string>& lines, const std::string& fileName) {
    WriteText(fileName, JoinLines(lines));
}

void WriteTraceCsv(const core::TDescent& descent, const std::string& fileName) {
    WriteText(fileName, TraceCsv(descent));
}

bool WriteAnimation(const TSession& session, std::int32_t frameTimeMs,
                    const std::string& fileName) {
    return WriteTraceAnimation(session.TraceStart, frameTimeMs, fileName);
}

std::string TraceCsv(const core::TDescent& descent) {
    std::string csv = "k,x,y,z\n";
    const core::TObjective* const function = core::TraceObjective(descent);
    for (std::uint32_t k = 1; k <= descent.TraceCount && k <= core::TraceCapacity; ++k) {
        const core::TTracePoint& point = descent.Trace[k];
        csv += std::to_string(k) + ',' + RoundTrip(point.X) + ',' + RoundTrip(point.Y) + ',';
        if (function)
            csv += RoundTrip(function->Value(point.X, point.Y));
        csv += '\n';
    }
    return csv;
}

}  // namespace metopt::app
