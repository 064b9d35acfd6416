#include "platform/spinedit.h"

#include <QLineEdit>

#include "platform/eventguard.h"
#include "platform/spinrule.h"

namespace metopt::platform {

SpinEdit::SpinEdit(QWidget* parent, std::int32_t minValue, std::int32_t maxValue,
                   std::int64_t value)
    : QAbstractSpinBox(parent), minValue_(minValue), maxValue_(maxValue) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setKeyboardTracking(true);
    lineEdit()->setText(QString::fromStdString(SpinEditText(value, minValue_, maxValue_)));
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        if (!settingText_) {
            RunEvent(OnChange);
        }
    });
}

std::int32_t SpinEdit::Value() const {
    return SpinEditValue(Text(), minValue_, maxValue_);
}

void SpinEdit::SetValue(std::int64_t value) {
    ReplaceText(QString::fromStdString(SpinEditText(value, minValue_, maxValue_)));
}

std::string SpinEdit::Text() const {
    return lineEdit()->text().toStdString();
}

void SpinEdit::SetText(const std::string& text) {
    ReplaceText(QString::fromStdString(text));
}

void SpinEdit::ReplaceText(const QString& text) {
    if (text == lineEdit()->text()) {
        return;
    }
    settingText_ = true;
    lineEdit()->setText(text);
    settingText_ = false;
    if (OnChange) {
        OnChange();
    }
}

// Deliberate: see docs/behaviour.md, "Spin edit values".
QValidator::State SpinEdit::validate(QString&, int&) const {
    // Any text may stand while the user types; the value rule reads it.
    return QValidator::Acceptable;
}

void SpinEdit::stepBy(int steps) {
    RunEvent([this, steps] { SetValue(std::int64_t{Value()} + steps); });
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    RunEvent([this] { SetValue(Value()); });
}

}  // namespace metopt::platform
