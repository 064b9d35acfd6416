#include "platform/textfield.h"

#include "platform/eventguard.h"

namespace metopt::platform {

TextField::TextField(QWidget* parent, const std::string& text)
    : QLineEdit(QString::fromStdString(text), parent) {
    setCursorPosition(0);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!settingText_) {
            RunEvent(OnChange);
        }
    });
}

void TextField::SetText(const std::string& text) {
    const QString newText = QString::fromStdString(text);
    if (newText == this->text()) {
        return;
    }
    settingText_ = true;
    setText(newText);
    setCursorPosition(0);
    settingText_ = false;
    // Called directly, so an exception travels up to the handler that set the text.
    if (OnChange) {
        OnChange();
    }
}

}  // namespace metopt::platform
