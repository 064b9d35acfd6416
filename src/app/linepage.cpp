#include "app/linepage.h"

#include <algorithm>
#include <cmath>

#include "core/methods/method.h"
#include "runtime/exceptions.h"
#include "runtime/numformat.h"

namespace metopt::app {

namespace {

using platform::PlotChart;
using Columns = std::vector<std::string>;

// 0x00BBGGRR.
constexpr std::int32_t PhiColor = 0xB04000;
constexpr std::int32_t ScanColor = 0x0080FF;
constexpr std::int32_t TrialColor = 0x0000D0;
constexpr std::int32_t ResultColor = 0x008000;
constexpr std::int32_t BracketColor = 0x808080;
// The chart's room beyond the trials, as a share of their span.
constexpr long double Beyond = 0.1L;

// Why a method's iterations search along no line.
const char* NoLineSearchReason(core::TMethod method) {
    switch (method) {
        case core::TMethod::FixedStep:
            return "шаг постоянный (h_step), одномерного поиска нет";
        case core::TMethod::StepHalving:
            return "шаг делится пополам, пока f не убывает; одномерного поиска нет";
        case core::TMethod::Newton:
            return "полный шаг Ньютона (t = 1), одномерного поиска нет";
        case core::TMethod::HookeJeeves:
            return "пробные шаги по осям и шаг по образцу, одномерного поиска нет";
        case core::TMethod::NelderMead:
            return "отражения и сжатия симплекса, одномерного поиска нет";
        case core::TMethod::Momentum:
        case core::TMethod::Nesterov:
        case core::TMethod::AdaGrad:
        case core::TMethod::RmsProp:
        case core::TMethod::Adam:
            return "шаг задаёт скорость обучения α, одномерного поиска нет";
        default:
            return nullptr;
    }
}

const std::vector<core::TLineSearchRecord>& Records(const TSession& session) {
    return session.LineRecords.records;
}

std::string WhyNothing(const TSession& session, std::uint32_t iteration) {
    if (!session.RunFields)
        return "Одномерный поиск итерации покажется здесь после запуска метода: «Начать итерации» "
               "или «По шагам» (F8).";
    if (session.ShowsComparison)
        return "Сравнение методов не хранит одномерных поисков: запустите один метод («Начать "
               "итерации» или «По шагам»).";
    if (!session.Descent.InnerTraces.empty())
        return "Итерации запуска с ограничениями — внешние: каждая из них — целая минимизация, и "
               "их одномерные поиски не хранятся (их путь — тонкая линия на рисунке).";
    if (const char* reason = NoLineSearchReason(session.RunMethod))
        return std::string(core::MethodCaptions[core::ItemOf(session.RunMethod)]) + ": " + reason +
               ".";
    if (session.LineRecords.Full() && iteration > LineSearchIterations(session))
        return "Одномерные поиски после итерации " +
               runtime::FormatInteger(LineSearchIterations(session)) +
               " не сохранены: их точек больше " +
               runtime::FormatInteger(static_cast<std::int64_t>(session.LineRecords.pointLimit)) +
               ".";
    return "У этой итерации нет одномерного поиска.";
}

// φ(t) = f(x + t dx, y + t dy), NaN where it cannot be computed.
long double PhiAt(const core::TObjective& f, const core::TLineOrigin& o, long double t) {
    try {
        return f.Value(o.x + t * o.dx, o.y + t * o.dy);
    } catch (const runtime::Exception&) {
        return NAN;
    }
}

QPointF PointOf(long double t, long double phi) {
    return {static_cast<double>(t), static_cast<double>(phi)};
}

std::vector<QPointF> SampledPhi(const core::TObjective& f, const core::TLineSearchRecord& record,
                                long double low, long double high) {
    std::vector<QPointF> points;
    for (int i = 0; i < LinePageSamples; ++i) {
        const long double t = low + (high - low) * i / (LinePageSamples - 1);
        const long double phi = PhiAt(f, record.origin, t);
        if (std::isfinite(phi))
            points.push_back(PointOf(t, phi));
    }
    return points;
}

void AddChart(TLinePage& page, const core::TObjective& f, const core::TLineSearchRecord& record) {
    long double low = 0;
    long double high = record.t;
    const auto take = [&](long double t) {
        if (std::isfinite(t)) {
            low = std::min(low, t);
            high = std::max(high, t);
        }
    };
    PlotChart::Series scan{QStringLiteral("просмотр"), ScanColor, PlotChart::Style::Points, {}, {}};
    for (std::size_t n = 0; n < record.scan.size(); ++n) {
        take(record.scan[n].first);
        scan.points.push_back(PointOf(record.scan[n].first, record.scan[n].second));
        scan.labels.push_back(QString::number(n + 1));
    }
    PlotChart::Series trials{
        QStringLiteral("пробные точки"), TrialColor, PlotChart::Style::Points, {}, {}};
    for (const core::TLineStep& step : record.steps) {
        for (const auto& [t, phi] : {std::pair{step.t1, step.phi1}, {step.t2, step.phi2}}) {
            if (std::isfinite(t)) {
                take(t);
                trials.points.push_back(PointOf(t, phi));
            }
        }
    }
    const bool bracket = core::NarrowsBracket(record.method);
    if (bracket) {
        take(record.a);
        take(record.b);
    }
    const long double room = high > low ? (high - low) * Beyond : 1;
    page.x = {QStringLiteral("t"), false};
    page.y = {QStringLiteral("φ(t)"), false};
    page.series.push_back({QStringLiteral("φ(t)"),
                           PhiColor,
                           PlotChart::Style::Line,
                           SampledPhi(f, record, low - room, high + room),
                           {}});
    page.series.push_back(std::move(scan));
    page.series.push_back(std::move(trials));
    page.series.push_back({QStringLiteral("t*"),
                           ResultColor,
                           PlotChart::Style::Points,
                           {PointOf(record.t, PhiAt(f, record.origin, record.t))},
                           {}});
    if (bracket) {
        page.marks.push_back({static_cast<double>(record.a), BracketColor, QStringLiteral("a")});
        page.marks.push_back({static_cast<double>(record.b), BracketColor, QStringLiteral("b")});
    }
    page.marks.push_back({static_cast<double>(record.t), ResultColor, QStringLiteral("t*")});
}

}  // namespace

std::uint32_t LineSearchIterations(const TSession& session) {
    return Records(session).empty() ? 0 : Records(session).back().iteration;
}

std::size_t LineSearchesAt(const TSession& session, std::uint32_t iteration) {
    const auto& records = Records(session);
    return static_cast<std::size_t>(
        std::count_if(records.begin(), records.end(),
                      [&](const core::TLineSearchRecord& r) { return r.iteration == iteration; }));
}

TLinePage LinePageOf(const TSession& session, std::uint32_t iteration, std::size_t search) {
    TLinePage page;
    std::vector<const core::TLineSearchRecord*> searches;
    for (const core::TLineSearchRecord& record : Records(session)) {
        if (record.iteration == iteration)
            searches.push_back(&record);
    }
    const core::TObjective* f = core::TraceObjective(session.Descent);
    if (searches.empty() || search >= searches.size() || f == nullptr) {
        page.text = WhyNothing(session, iteration);
        return page;
    }
    const core::TLineSearchRecord& record = *searches[search];
    page.heading = "Итерация " + runtime::FormatInteger(iteration) + ", поиск " +
                   runtime::FormatInteger(static_cast<std::int64_t>(search + 1)) + " из " +
                   runtime::FormatInteger(static_cast<std::int64_t>(searches.size())) + ": " +
                   core::LineSearchCaptions[static_cast<int>(record.method)] +
                   ", t* = " + runtime::FormatGeneral(record.t);
    AddChart(page, *f, record);
    page.columns = LineStepColumns(record.method);
    page.rows = LineStepRows(record.method, record.steps);
    return page;
}

}  // namespace metopt::app
