#pragma once
// A lab file ("Лабораторная работа", .metopt): every field and choice of the window, the palette
// file's name, and a title and a task text for the students; UTF-8 JSON with a format version.
// Methods, stop rules and the list methods are stored by name, the fields' texts as typed.
#include <string>
#include <vector>

#include "app/settings.h"

namespace metopt::app {

constexpr int LabFormatVersion = 1;
constexpr const char* LabFormatName = "metopt-lab";
// The file dialogs' filter.
constexpr const char* LabFileFilter = "Лабораторные работы (*.metopt)";

struct TLab {
    TSettings settings;
    std::string palette;  // the palette file's name, empty for the one read at start
    std::string title;
    std::string task;  // several lines of plain text

    bool operator==(const TLab&) const = default;
};

// The file's text: every key, in a fixed order.
std::string LabText(const TLab& lab);

struct TLabRead {
    TLab lab;
    std::vector<std::string> unknownKeys;  // ignored, in alphabetical order
};
// Reads a lab file's text: a key left out keeps the default. Refuses the whole file, raising
// runtime::Exception with a message that names the key (or the line and column of a syntax
// error), for a value of the wrong type, a number out of its field's range or an unknown name.
TLabRead ReadLab(const std::string& text);

// The files themselves; a failure raises as the exports do.
void SaveLab(const std::string& fileName, const TLab& lab);
TLabRead OpenLab(const std::string& fileName);

// The status line's warning about ignored keys, empty when there are none.
std::string UnknownKeysText(const std::vector<std::string>& keys);

}  // namespace metopt::app
