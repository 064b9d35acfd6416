#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "platform/bundledfonts.h"
#include "platform/translations.h"
#include "runtime/fpu.h"
#include "runtime/standardstreams.h"
#include "ui/mainform.h"

int main(int argc, char* argv[]) {
    metopt::runtime::InitFpu();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (metopt::cli::WantsCommandLine(args)) {
        metopt::runtime::PrepareStandardStreams();
        return metopt::cli::RunCommandLine(argc, argv, args);
    }
    metopt::platform::ChooseBundledFontEngine();
    QApplication application(argc, argv);
    metopt::platform::LoadBundledFonts();
    metopt::platform::LoadQtTranslations(application);
    QGuiApplication::setDesktopFileName(QStringLiteral(METOPT_APP_ID));
    metopt::ui::TfmMnForm form;
    form.show();
    return application.exec();
}
