#include "ui/batch.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>

#include "core/functions.h"
#include "core/minimizer.h"
#include "platform/dropdown.h"
#include "platform/eventguard.h"
#include "platform/messagebox.h"
#include "platform/spinedit.h"
#include "platform/textfield.h"
#include "render/trace.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "ui/batchoptions.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

constexpr const char* ProgramName = "metopt";

void PrintError(const std::string& text) {
    std::cerr << ProgramName << ": " << text << '\n';
}

// Shortest text that reads back as the same 80-bit value; independent of the locale.
std::string RoundTrip(long double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Writes text to a file, or to standard output for "-". A failure is raised as the program's
// own error so that it is reported like any other.
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

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + '\n';
    return text;
}

void WritePicture(const std::string& fileName) {
    if (!render::BackingImage ||
        !render::BackingImage->Image().save(QString::fromStdString(fileName), "PNG")) {
        throw runtime::Exception("Cannot write " + fileName);
    }
}

using StepAction = std::function<void(TfmMnForm&, const std::vector<std::string>&)>;
using Field = platform::TextField* TfmMnForm::*;
using List = platform::DropDown* TfmMnForm::*;
using Box = QCheckBox* TfmMnForm::*;
using Button = QPushButton* TfmMnForm::*;

// The option's values typed into these fields, one value each, in order.
StepAction TypeInto(std::vector<Field> fields) {
    return [fields](TfmMnForm& form, const std::vector<std::string>& values) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            (form.*fields[i])->SetText(values[i]);
    };
}

// The item the option's value names, chosen as a user would.
StepAction Choose(List list) {
    return [list](TfmMnForm& form, const std::vector<std::string>& values) {
        (form.*list)->ChooseItem(std::stoi(values[0]));
    };
}

StepAction Tick(Box box, bool checked) {
    return [box, checked](TfmMnForm& form, const auto&) { (form.*box)->setChecked(checked); };
}

StepAction Press(Button button) {
    return [button](TfmMnForm& form, const auto&) { (form.*button)->click(); };
}

// What each option does to the window: the same fields and buttons a user would use.
const std::map<std::string, StepAction>& StepActions() {
    static const std::map<std::string, StepAction> actions = {
        {"function", Choose(&TfmMnForm::coEquat)},
        {"x0", TypeInto({&TfmMnForm::meBeg_Xr})},
        {"y0", TypeInto({&TfmMnForm::meBeg_Yr})},
        {"eps", TypeInto({&TfmMnForm::meCnsEps})},
        {"step", TypeInto({&TfmMnForm::meCnsHst})},
        {"radius", TypeInto({&TfmMnForm::meCnsUoo})},
        {"region", TypeInto({&TfmMnForm::meSrXb, &TfmMnForm::meSrXe, &TfmMnForm::meSrYb,
                             &TfmMnForm::meSrYe})},
        {"centre", TypeInto({&TfmMnForm::meSrXc, &TfmMnForm::meSrYc})},
        {"ticks", TypeInto({&TfmMnForm::meSrXs, &TfmMnForm::meSrYs})},
        {"subgrid", TypeInto({&TfmMnForm::meSgXs, &TfmMnForm::meSgYs})},
        {"size", [](TfmMnForm& f,
                    const auto& a) { f.LayoutForDrawingArea(std::stoi(a[0]), std::stoi(a[1])); }},
        {"fill", Choose(&TfmMnForm::coFill)},
        {"colors", [](TfmMnForm& f, const auto& a) { f.seScoGrd->SetText(a[0]); }},
        {"levels", Choose(&TfmMnForm::coLevel)},
        {"level-step", TypeInto({&TfmMnForm::meStLeLi})},
        {"level-width", TypeInto({&TfmMnForm::meWdLeLi})},
        {"transparent", Tick(&TfmMnForm::cbTrnpLL, true)},
        {"no-small-grid", Tick(&TfmMnForm::cbDrSmal, false)},
        {"no-big-grid", Tick(&TfmMnForm::cbDrBig, false)},
        {"no-axes", Tick(&TfmMnForm::cbDrAxis, false)},
        {"no-numbers", Tick(&TfmMnForm::cbDrNumb, false)},
        {"map", Press(&TfmMnForm::bbDrMpCl)},
        {"level-lines", Press(&TfmMnForm::bbDrMpLL)},
        {"grid", Press(&TfmMnForm::bbDrGrid)},
        {"descent",
         [](TfmMnForm& f, const auto&) {
             f.seTimFrm->SetValue(0);  // frame time 0: the whole trace inside the click
             f.bbIterat->click();
         }},
        {"picture", [](TfmMnForm&, const auto& a) { WritePicture(a[0]); }},
        {"report",
         [](TfmMnForm& f, const auto& a) { WriteText(a[0], JoinLines(f.ReportLines())); }},
        {"trace-csv", [](TfmMnForm&, const auto& a) { WriteText(a[0], TraceCsv()); }},
    };
    return actions;
}

// Batch output is the program's own: Qt's notes about the off-screen session (no runtime folder,
// no display) would only clutter standard error. Its critical and fatal messages still pass.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << message.toStdString() << '\n';
    }
}

int RunBatch(int& argc, char** argv, const BatchCommand& command) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtMessages);
    QApplication application(argc, argv);
    int reported = 0;
    platform::SetErrorBoxHandler([&reported](const std::string&, const std::string& text) {
        PrintError(text);
        ++reported;
    });
    TfmMnForm form(nullptr, command.palette.value_or(palette::PaletteFileName));
    for (const BatchStep& step : command.steps) {
        const StepAction& action = StepActions().at(step.option);
        platform::RunEvent([&] { action(form, step.args); });
    }
    platform::SetErrorBoxHandler(nullptr);
    return reported == 0 ? BatchExitOk : BatchExitReported;
}

}  // namespace

std::string TraceCsv() {
    std::string csv = "k,x,y,z\n";
    const std::int32_t function = core::TraceFuncIndex;
    const bool functionKnown = function >= 0 && function < core::FunctionCount;
    for (std::uint32_t k = 1; k <= core::TraceCount && k <= core::TraceCapacity; ++k) {
        const core::TTracePoint& point = core::Trace[k];
        csv += std::to_string(k) + ',' + RoundTrip(point.X) + ',' + RoundTrip(point.Y) + ',';
        if (functionKnown)
            csv += RoundTrip(core::ObjectiveFuncs[function](point.X, point.Y));
        csv += '\n';
    }
    return csv;
}

bool WantsCommandLine(const std::vector<std::string>& args) {
    // Qt's own options (-platform, -style ...) begin with one dash and leave the window as it is.
    for (const auto& arg : args) {
        if (arg.rfind("--", 0) == 0)
            return true;
    }
    return false;
}

int RunCommandLine(int& argc, char** argv, const std::vector<std::string>& args) {
    const BatchParse parse = ParseBatchArguments(args);
    if (parse.error) {
        PrintError(parse.error->message);
        std::cerr << "Try 'metopt --help'.\n";
        return BatchExitUsage;
    }
    if (parse.command.help) {
        std::cout << BatchUsage();
        return BatchExitOk;
    }
    if (parse.command.version) {
        std::cout << ProgramName << ' ' << METOPT_VERSION << '\n';
        return BatchExitOk;
    }
    return RunBatch(argc, argv, parse.command);
}

}  // namespace metopt::ui
