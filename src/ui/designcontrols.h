#pragma once
// The window's controls made at their design places, in the design fonts.
#include <QFont>
#include <QIcon>
#include <initializer_list>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace metopt::platform {
class DropDown;
class SpinEdit;
class TextField;
}  // namespace metopt::platform

namespace metopt::ui {

// The design fonts at 96 dpi: 8 pt is 11 pixels, 10 pt is 13 pixels.
QFont DesignFont(int points);

QLabel* MakeLabel(QWidget* parent, const char* text, int left, int top, int points);
QGroupBox* MakeGroup(QWidget* parent, const char* title, int left, int top, int width, int height,
                     int points);
platform::TextField* MakeField(QWidget* parent, const std::string& text, int left, int top,
                               int width, int height);
platform::SpinEdit* MakeSpin(QWidget* parent, int minValue, int maxValue, int value, int left,
                             int top, int width, int height);
// A list of the design width 257 and height 24, in the 10 pt font.
platform::DropDown* MakeList(QWidget* parent, std::initializer_list<const char*> items, int left,
                             int top);
QCheckBox* MakeCheck(QWidget* parent, const char* text, bool checked, int left, int top, int width,
                     int height);
QPushButton* MakeButton(QWidget* parent, const char* caption, const QIcon& glyph, int left, int top,
                        int width, int height);
// One of the three mouse readout labels of the panel, 137 x 13 at x 16.
QLabel* MakeReadout(QWidget* parent, const char* text, int top);

}  // namespace metopt::ui
