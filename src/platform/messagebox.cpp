#include "platform/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <utility>

namespace metopt::platform {

namespace {

ErrorBoxHandler installedHandler;

void ShowModalBox(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace

void SetErrorBoxHandler(ErrorBoxHandler handler) {
    installedHandler = std::move(handler);
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
    if (installedHandler) {
        installedHandler(caption, text);
        return;
    }
    ShowModalBox(caption, text);
}

}  // namespace metopt::platform
