#include "platform/application.h"

#include <QApplication>
#include <QGuiApplication>

#include "platform/translations.h"

namespace metopt::platform {

namespace {

template <class Application>
int RunIn(int& argc, char** argv, const std::function<int()>& work) {
    Application application(argc, argv);
    LoadQtTranslations(application);
    return work();
}

}  // namespace

int RunInApplication(int& argc, char** argv, bool widgets, const std::function<int()>& work) {
    return widgets ? RunIn<QApplication>(argc, argv, work)
                   : RunIn<QGuiApplication>(argc, argv, work);
}

}  // namespace metopt::platform
