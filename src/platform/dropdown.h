#pragma once
// A drop-down list with an editable text. Its item index is that of the chosen item, and -1 once
// the user types. OnChange runs when the user chooses an item or types, OnExit when the user
// presses Enter in the text or leaves it after a change; setting the index from the program runs
// nothing.
#include <QComboBox>
#include <functional>
#include <string>

namespace metopt::platform {

class DropDown : public QComboBox {
  public:
    explicit DropDown(QWidget* parent);

    void AddItem(const std::string& text);

    int ItemIndex() const { return itemIndex_; }
    // Selects an item (-1: none, empty text) without running OnChange.
    void SetItemIndex(int index);

    std::string Text() const;
    // The user's path: chooses item `index` and runs OnChange.
    void ChooseItem(int index);
    // The user's path: types a text (index -1) and runs OnChange.
    void TypeText(const std::string& text);
    // The user's path: leaves the text (or presses Enter) and runs OnExit.
    void FinishEditing();

    std::function<void()> OnChange;
    std::function<void()> OnExit;

  private:
    void ShowText(const QString& text);

    int itemIndex_ = -1;
};

}  // namespace metopt::platform
