#include "platform/filedialog.h"

#include <QFileDialog>
#include <utility>

namespace metopt::platform {

namespace {

SaveDialogHandler installedSaveHandler;
SaveDialogHandler installedOpenHandler;

using StandardDialog = QString (*)(QWidget*, const QString&, const QString&, const QString&,
                                   QString*, QFileDialog::Options);

QString Ask(const SaveDialogHandler& handler, StandardDialog dialog, QWidget* parent,
            const SaveDialogRequest& request) {
    if (handler)
        return handler(request);
    return dialog(parent, request.caption, request.proposedPath, request.filter, nullptr, {});
}

}  // namespace

void SetSaveDialogHandler(SaveDialogHandler handler) {
    installedSaveHandler = std::move(handler);
}

QString AskSaveFileName(QWidget* parent, const SaveDialogRequest& request) {
    return Ask(installedSaveHandler, &QFileDialog::getSaveFileName, parent, request);
}

void SetOpenDialogHandler(SaveDialogHandler handler) {
    installedOpenHandler = std::move(handler);
}

QString AskOpenFileName(QWidget* parent, const SaveDialogRequest& request) {
    return Ask(installedOpenHandler, &QFileDialog::getOpenFileName, parent, request);
}

}  // namespace metopt::platform
