#pragma once
// The window's controls made at their design places, in the design fonts.
#include <QFont>
#include <QIcon>
#include <span>
#include <string>

#include "app/settings.h"
#include "palette/palette.h"
#include "platform/pagecontrol.h"

class QAction;
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

// The design sizes: the command panel's width, the status line's height, and the client area,
// which leaves the drawing area 448 x 412 pixels.
constexpr int PanelWidth = 184;
constexpr int StatusHeight = 21;
constexpr int DesignClientWidth = 640;
constexpr int DesignPageControlHeight = 440;
constexpr int DesignAreaWidth =
    DesignClientWidth - PanelWidth - 2 * platform::PageControl::FrameWidth;
constexpr int DesignAreaHeight = DesignPageControlHeight - platform::PageControl::TabHeight -
                                 2 * platform::PageControl::FrameWidth;

using app::FillItems;
using app::FrameTimeRange;
using app::GradientColorsRange;
using app::LevelItems;
using app::SpinRange;
constexpr SpinRange PaletteIndexRange{0, palette::PaletteSize - 1, 2};
constexpr SpinRange ComponentRange{0, 255, 0};
static_assert(DesignAreaWidth == app::DrawingAreaWidth &&
              DesignAreaHeight == app::DrawingAreaHeight);

// Gives a control or menu item its name (the window's member that holds it) as its object name.
template <class Object>
Object* Named(Object* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// The design fonts at 96 dpi: 8 pt is 11 pixels, 10 pt is 13 pixels.
QFont DesignFont(int points);

// Each control is made with its name (the window's member that holds it) as its object name, so
// that it can be found as a user finds it.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int left, int top,
                  int points);
QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* title, int left, int top,
                     int width, int height, int points);
platform::TextField* MakeField(QWidget* parent, const char* name, const std::string& text, int left,
                               int top, int width, int height);
platform::SpinEdit* MakeSpin(QWidget* parent, const char* name, const SpinRange& range, int left,
                             int top, int width, int height);
// A list of the design width 257 and height 24, in the 10 pt font.
platform::DropDown* MakeList(QWidget* parent, const char* name, std::span<const char* const> items,
                             int left, int top);
QCheckBox* MakeCheck(QWidget* parent, const char* name, const char* text, bool checked, int left,
                     int top, int width, int height);
QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const QIcon& glyph,
                        int left, int top, int width, int height);
// The index of the first checked action of a menu's radio group, or -1 when none is.
int CheckedItem(std::span<QAction* const> actions);

// One of the three mouse readout labels of the panel, 137 x 13 at x 16.
QLabel* MakeReadout(QWidget* parent, const char* name, const char* text, int top);

}  // namespace metopt::ui
