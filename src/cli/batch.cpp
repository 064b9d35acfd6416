#include "cli/batch.h"

#include <QGuiApplication>
#include <QPalette>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include "app/labfile.h"
#include "app/workbench.h"
#include "cli/batchminimize1d.h"
#include "cli/batchoptions.h"
#include "cli/batchprogress.h"
#include "palette/palette.h"
#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/eventguard.h"
#include "platform/messagebox.h"

namespace metopt::cli {

namespace {

constexpr const char* ProgramName = "metopt";

void PrintError(const std::string& text) {
    std::cerr << ProgramName << ": " << text << '\n';
}

// Batch output is the program's own: Qt's notes about the off-screen session (no runtime folder,
// no display) would only clutter standard error. Its critical and fatal messages still pass.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << message.toStdString() << '\n';
    }
}

// The lab file of --lab, or none; a file that cannot be read or is refused is reported.
std::optional<app::TLab> ReadLabOption(const BatchCommand& command) {
    std::optional<app::TLab> lab;
    if (!command.lab)
        return lab;
    platform::RunEvent([&] {
        const app::TLabRead read = app::OpenLab(*command.lab);
        const std::string warning = app::UnknownKeysText(read.unknownKeys);
        if (!warning.empty())
            std::cerr << ProgramName << ": note: " << *command.lab << ": " << warning << '\n';
        lab = read.lab;
    });
    return lab;
}

// Runs `work` with the error box printing its text on standard error; `work` is given the
// count of the errors printed so far and returns the exit status.
int WithErrorsPrinted(const std::function<int(const int& reported)>& work) {
    int reported = 0;
    platform::SetErrorBoxHandler([&reported](const std::string&, const std::string& text) {
        PrintError(text);
        ++reported;
    });
    const int status = work(reported);
    platform::SetErrorBoxHandler(nullptr);
    return status;
}

int StatusOf(int reported) {
    return reported == 0 ? BatchExitOk : BatchExitReported;
}

int RunSteps(const BatchCommand& command, const int& reported) {
    const BatchInterrupt interrupt;
    const std::optional<app::TLab> lab = ReadLabOption(command);
    // Nothing is drawn from settings other than the lab's.
    if (command.lab && !lab)
        return BatchExitReported;
    std::string paletteFile = palette::PaletteFileName;
    if (command.palette)
        paletteFile = *command.palette;
    else if (lab && !lab->palette.empty())
        paletteFile = lab->palette;
    // The drawing area starts in the background colour of the window's controls.
    app::TWorkbench workbench(
        paletteFile, platform::FromQRgb(QGuiApplication::palette().color(QPalette::Window).rgb()));
    if (lab)
        workbench.ApplyLab(*lab);
    for (const BatchStep& step : command.steps) {
        platform::RunEvent([&] { step.run(workbench, step.args); });
        // What the window's status line would say after a map that left points out.
        const std::string note = workbench.TakeMapNote();
        if (!note.empty())
            std::cerr << ProgramName << ": note: " << note << '\n';
        // Nothing more is written after an interrupt.
        if (BatchProgress::Interrupted())
            return BatchExitInterrupted;
    }
    return StatusOf(reported);
}

int RunCommand(const BatchCommand& command) {
    return WithErrorsPrinted([&command](const int& reported) {
        if (!command.minimize1d)
            return RunSteps(command, reported);
        RunMinimize1D(command);
        return StatusOf(reported);
    });
}

int RunBatch(int& argc, char** argv, const BatchCommand& command) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtMessages);
    return platform::RunInApplication(argc, argv, NeedsWidgets(command),
                                      [&command] { return RunCommand(command); });
}

}  // namespace

bool NeedsWidgets(const BatchCommand& command) {
    for (const BatchStep& step : command.steps) {
        if (step.option == "convergence" && !WritesCsv(step.args.at(0)))
            return true;
        if (command.minimize1d && DrawsMinimize1DChart(step))
            return true;
    }
    return false;
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

}  // namespace metopt::cli
