#pragma once
// An integer field with up and down arrows. Its text is free while the user types; its value is
// the text read as an integer, or its minimum when the text is not one (not limited to the
// maximum). Setting a value, the arrows and leaving the field write the clamped value back.
// OnChange runs whenever the text changes, also when setting a value changes it, and never when
// the text stays the same.
#include <QAbstractSpinBox>
#include <cstdint>
#include <functional>
#include <string>

namespace metopt::platform {

class SpinEdit : public QAbstractSpinBox {
  public:
    SpinEdit(QWidget* parent, std::int32_t minValue, std::int32_t maxValue, std::int64_t value);

    std::int32_t MinValue() const { return minValue_; }
    std::int32_t MaxValue() const { return maxValue_; }

    std::int32_t Value() const;
    // Writes the value clamped to MinValue..MaxValue; runs OnChange when the text changes.
    void SetValue(std::int64_t value);

    std::string Text() const;
    // Puts a text into the field as if typed; runs OnChange when the text changes.
    void SetText(const std::string& text);

    // The text part, where the user types.
    QLineEdit* Editor() const { return lineEdit(); }

    std::function<void()> OnChange;

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // Replaces the text from the program's own code: OnChange is called directly, so an exception
    // it raises travels up to the handler that set the value.
    void ReplaceText(const QString& text);

    std::int32_t minValue_;
    std::int32_t maxValue_;
    bool settingText_ = false;
};

}  // namespace metopt::platform
