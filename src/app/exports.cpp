#include "app/exports.h"

#include <QImage>
#include <QString>
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

void WritePng(const QImage& picture, const std::string& fileName) {
    if (!picture.save(QString::fromStdString(fileName), "PNG"))
        throw runtime::Exception("Cannot write " + fileName);
}

void WritePicture(const TSession& session, const std::string& fileName) {
    const auto& image = session.SavedPicture.BackingImage;
    if (!image)
        throw runtime::Exception("Cannot write " + fileName);
    WritePng(image->Image(), fileName);
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

namespace {

std::string PointCells(const core::TObjective* function, const core::TTracePoint& point) {
    std::string cells = RoundTrip(point.X) + ',' + RoundTrip(point.Y) + ',';
    if (function)
        cells += RoundTrip(function->Value(point.X, point.Y));
    return cells;
}

// A run with constraints: each outer iteration's path, its points numbered from 1 (its start, the
// outer point before, only when it went nowhere); the last row of outer iteration n is its point.
std::string ConstrainedTraceCsv(const core::TDescent& descent, const core::TObjective* function) {
    std::string csv = "outer,k,x,y,z\n";
    for (std::size_t n = 0; n < descent.InnerTraces.size(); ++n) {
        const std::vector<core::TTracePoint>& path = descent.InnerTraces[n];
        for (std::size_t k = path.size() > 1 ? 1 : 0; k < path.size(); ++k)
            csv += std::to_string(n + 1) + ',' + std::to_string(k) + ',' +
                   PointCells(function, path[k]) + '\n';
    }
    return csv;
}

}  // namespace

std::string TraceCsv(const core::TDescent& descent) {
    const core::TObjective* const function = core::TraceObjective(descent);
    if (!descent.InnerTraces.empty())
        return ConstrainedTraceCsv(descent, function);
    std::string csv = "k,x,y,z\n";
    for (std::uint32_t k = 1; k <= descent.TraceCount && k <= core::TraceCapacity; ++k)
        csv += std::to_string(k) + ',' + PointCells(function, descent.Trace[k]) + '\n';
    return csv;
}

}  // namespace metopt::app
