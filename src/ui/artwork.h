#pragma once
// The program's own pictures, drawn at start: the 16 x 16 glyphs of the command buttons and the
// 136 x 172 picture on the command panel.
#include <QIcon>
#include <QPixmap>

namespace metopt::ui {

// " Отобразить график          ": a small height map.
QIcon MapGlyph();
// " Построить линии уровня ": nested level lines.
QIcon LevelLinesGlyph();
// "Начать итерации": a descent path down to a minimum, with its greyed disabled image.
QIcon DescentGlyph();
// The panel picture: a height map of sin(r)/r with a descent path over it.
QPixmap PanelPicture();

}  // namespace metopt::ui
