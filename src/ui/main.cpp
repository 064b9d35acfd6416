#include <QApplication>

#include "runtime/fpu.h"
#include "ui/mainform.h"

int main(int argc, char* argv[]) {
    metopt::runtime::InitFpu();
    QApplication application(argc, argv);
    metopt::ui::TfmMnForm form;
    form.show();
    return application.exec();
}
