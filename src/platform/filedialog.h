#pragma once
// The standard dialogs that ask where to save a file and which file to open. Tests replace them
// with a handler that answers at once.
#include <QString>
#include <functional>

class QWidget;

namespace metopt::platform {

// What a save dialog is opened with: its caption, the path it proposes (the folder used last and
// the default name) and its filter ("Рисунки PNG (*.png)").
struct SaveDialogRequest {
    QString caption;
    QString proposedPath;
    QString filter;
};

// Returns the chosen path, or an empty text when the user cancels.
using SaveDialogHandler = std::function<QString(const SaveDialogRequest&)>;

// Installs a handler for every later dialog; an empty handler puts back the standard dialog.
void SetSaveDialogHandler(SaveDialogHandler handler);

// Opens the dialog (or asks the installed handler) and returns the chosen path, or an empty
// text when cancelled.
QString AskSaveFileName(QWidget* parent, const SaveDialogRequest& request);

// The same for the dialog that asks which existing file to open (proposedPath: the folder).
void SetOpenDialogHandler(SaveDialogHandler handler);
QString AskOpenFileName(QWidget* parent, const SaveDialogRequest& request);

}  // namespace metopt::platform
