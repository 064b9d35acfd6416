#include "app/linereport.h"

#include <cmath>
#include <vector>

#include "app/exports.h"
#include "app/settings.h"
#include "core/methods/methodid.h"
#include "runtime/exceptions.h"

namespace metopt::app {

namespace {

std::string Cell(long double value) {
    return std::isnan(value) ? std::string() : RoundTrip(value);
}

void AddRecords(std::string& csv, core::TMethod method,
                const std::vector<core::TLineSearchRecord>& records) {
    const std::string name(MethodWords[core::ItemOf(method)]);
    for (const core::TLineSearchRecord& record : records) {
        const std::string head = name + ',' + std::to_string(record.iteration) + ',';
        for (std::size_t n = 0; n < record.scan.size(); ++n)
            csv += head + "scan," + std::to_string(n + 1) + ",,," + Cell(record.scan[n].first) +
                   ',' + Cell(record.scan[n].second) + ",,\n";
        for (std::size_t n = 0; n < record.steps.size(); ++n) {
            const core::TLineStep& s = record.steps[n];
            csv += head + "step," + std::to_string(n + 1) + ',' + Cell(s.a) + ',' + Cell(s.b) +
                   ',' + Cell(s.t1) + ',' + Cell(s.phi1) + ',' + Cell(s.t2) + ',' + Cell(s.phi2) +
                   '\n';
        }
        const bool bracket = core::NarrowsBracket(record.method);
        csv += head + "result,," + (bracket ? Cell(record.a) + ',' + Cell(record.b) : ",") + ',' +
               Cell(record.t) + ",,,\n";
    }
}

}  // namespace

std::string LineSearchCsv(const TSession& session) {
    if (!session.RunFields)
        throw runtime::Exception("No descent has run yet");
    std::vector<core::TMethod> methods;
    if (session.ShowsComparison) {
        for (const core::TComparedRun& run : session.Comparison.runs)
            methods.push_back(run.method);
    } else {
        methods.push_back(session.RunMethod);
    }
    std::string csv = "method,iteration,kind,n,a,b,t1,phi1,t2,phi2\n";
    for (const core::TMethod method : methods) {
        core::DescentFields fields = *session.RunFields;
        fields.method = method;
        core::TLineRecorder recorder;
        core::TDescent again;
        again.LineRecords = &recorder;
        try {
            core::RunDescentAndReport(again, fields, session.RunVisible);
        } catch (const runtime::Exception&) {
            // A compared method that failed: its line searches up to the failure.
        }
        AddRecords(csv, method, recorder.records);
    }
    return csv;
}

void WriteLineSearchCsv(const TSession& session, const std::string& fileName) {
    WriteText(fileName, LineSearchCsv(session));
}

}  // namespace metopt::app
