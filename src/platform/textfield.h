#pragma once
// A single-line text field whose OnChange runs only when its text changes, whether the user or the
// program changed it.
#include <QLineEdit>
#include <functional>
#include <string>

namespace metopt::platform {

class TextField : public QLineEdit {
  public:
    TextField(QWidget* parent, const std::string& text);

    std::string Text() const { return text().toStdString(); }
    // Sets the text; runs OnChange when it differs from the current one.
    void SetText(const std::string& text);

    std::function<void()> OnChange;

  private:
    bool settingText_ = false;
};

}  // namespace metopt::platform
