#pragma once
// Making the window's texts fit their design places with the platform's fonts and control
// metrics, without changing a text.
#include <QString>
#include <vector>

class QLabel;
class QWidget;

namespace metopt::platform {
class DropDown;
}

namespace metopt::ui {

// One word of a label padded with blanks and the fields around it: the word must end left of
// `before` and, when `after` is given, start right of it.
struct WordPlace {
    const char* word;
    const QWidget* after;
    const QWidget* before;
};

// The space a word keeps from the field next to it.
constexpr int FieldClearance = 3;

// Adjusts the letter spacing of the label (as little as possible) so that every word keeps its
// place between the fields.
void FitAroundFields(QLabel* label, const std::vector<WordPlace>& places);

// The width the list's edit field gives its text.
int ListTextRoom(const platform::DropDown* list);
// The width of a text in the list's font.
double ListTextWidth(const platform::DropDown* list, const QString& text);
// Narrows the letter spacing of the list's font, when needed, so that every item (or the first
// `items` of them; the others scroll in the field) fits the edit field.
void FitListTexts(platform::DropDown* list, int items = -1);
// The same for the text shown in the edit field, whenever it changes: each item keeps its own
// spacing.
void FitEachItemText(platform::DropDown* list);
// The open list shows every item, whole, without scrolling.
void OpenListShowsEveryItem(platform::DropDown* list);

}  // namespace metopt::ui
