#include "platform/filedialog.h"

#include <QFileDialog>
#include <utility>

namespace metopt::platform {

namespace {

SaveDialogHandler installedHandler;

}  // namespace

void SetSaveDialogHandler(SaveDialogHandler handler) {
    installedHandler = std::move(handler);
}

QString AskSaveFileName(QWidget* parent, const SaveDialogRequest& request) {
    if (installedHandler)
        return installedHandler(request);
    return QFileDialog::getSaveFileName(parent, request.caption, request.proposedPath,
                                        request.filter);
}

}  // namespace metopt::platform
