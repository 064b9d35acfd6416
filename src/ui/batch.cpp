#include "ui/batch.h"

#include <QApplication>
#include <iostream>

#include "palette/palette.h"
#include "platform/eventguard.h"
#include "platform/messagebox.h"
#include "platform/translations.h"
#include "ui/batchoptions.h"
#include "ui/batchprogress.h"

namespace metopt::ui {

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

int RunBatch(int& argc, char** argv, const BatchCommand& command, const WindowFactory& makeWindow) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtMessages);
    QApplication application(argc, argv);
    platform::LoadQtTranslations(application);
    int reported = 0;
    platform::SetErrorBoxHandler([&reported](const std::string&, const std::string& text) {
        PrintError(text);
        ++reported;
    });
    const std::unique_ptr<WindowCommands> window =
        makeWindow(command.palette.value_or(palette::PaletteFileName));
    for (const BatchStep& step : command.steps) {
        platform::RunEvent([&] { step.run(*window, step.args); });
        // Nothing more is written after an interrupt.
        if (BatchProgress::Interrupted()) {
            platform::SetErrorBoxHandler(nullptr);
            return BatchExitInterrupted;
        }
    }
    platform::SetErrorBoxHandler(nullptr);
    return reported == 0 ? BatchExitOk : BatchExitReported;
}

}  // namespace

bool WantsCommandLine(const std::vector<std::string>& args) {
    // Qt's own options (-platform, -style ...) begin with one dash and leave the window as it is.
    for (const auto& arg : args) {
        if (arg.rfind("--", 0) == 0)
            return true;
    }
    return false;
}

int RunCommandLine(int& argc, char** argv, const std::vector<std::string>& args,
                   const WindowFactory& makeWindow) {
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
    return RunBatch(argc, argv, parse.command, makeWindow);
}

}  // namespace metopt::ui
