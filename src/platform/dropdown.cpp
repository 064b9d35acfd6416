#include "platform/dropdown.h"

#include <QLineEdit>

#include "platform/eventguard.h"

namespace metopt::platform {

DropDown::DropDown(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Typed text stays as typed: no completion into an item.
    setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        itemIndex_ = -1;
        RunEvent(OnChange);
    });
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] { FinishEditing(); });
    connect(this, &QComboBox::activated, this, [this](int index) {
        itemIndex_ = index;
        ShowText(itemText(index));
        RunEvent(OnChange);
    });
}

void DropDown::AddItem(const std::string& text) {
    addItem(QString::fromStdString(text));
}

void DropDown::SetItemIndex(int index) {
    if (index < 0 || index >= count()) {
        itemIndex_ = -1;
        ShowText(QString());
        return;
    }
    itemIndex_ = index;
    setCurrentIndex(index);
    ShowText(itemText(index));
}

std::string DropDown::Text() const {
    return lineEdit()->text().toStdString();
}

void DropDown::ChooseItem(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    setCurrentIndex(index);
    emit activated(index);
}

void DropDown::TypeText(const std::string& text) {
    lineEdit()->setText(QString::fromStdString(text));
    emit lineEdit()->textEdited(lineEdit()->text());
}

void DropDown::FinishEditing() {
    RunEvent(OnExit);
}

void DropDown::ShowText(const QString& text) {
    if (lineEdit()->text() != text) {
        lineEdit()->setText(text);
    }
    lineEdit()->setCursorPosition(0);
}

}  // namespace metopt::platform
