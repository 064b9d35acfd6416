#include <QApplication>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "platform/bundledfonts.h"
#include "platform/eventguard.h"
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
    // "metopt FILE.metopt" (a double-click on a lab file) opens the lab; Qt has taken its own
    // options from the arguments by now.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        metopt::platform::RunEvent([&] { form.OpenLabFile(arguments[1].toStdString()); });
    return application.exec();
}
