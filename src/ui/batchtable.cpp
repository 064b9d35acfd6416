// The batch options: name, values, their check, help text and what each does. Parsing, --help
// and running all read this one table.
#include <QPushButton>
#include <QTimer>
#include <iostream>
#include <string>

#include "platform/spinedit.h"
#include "runtime/exceptions.h"
#include "ui/batchoptions.h"
#include "ui/exports.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

constexpr ArgumentRule Text{};
constexpr ArgumentRule Whole(long lo, long hi) {
    return ArgumentRule{true, lo, hi};
}

// A map needs at least two sampled columns and rows inside the one-pixel frame.
constexpr int MinAreaSide = 4;
constexpr int MaxAreaSide = 10000;

constexpr SetsItsFields Fields{};

WindowStep Press(QPushButton* TfmMnForm::*button) {
    return [button](TfmMnForm& form, const auto&) { (form.*button)->click(); };
}

void ResizeDrawingArea(TfmMnForm& form, const std::vector<std::string>& values) {
    form.LayoutForDrawingArea(std::stoi(values[0]), std::stoi(values[1]));
}

// The button, then the timer's ticks at once, without waiting, until the animation ends (with a
// frame time of 0 the click draws the whole trace itself).
void RunWholeDescent(TfmMnForm& form, const std::vector<std::string>&) {
    form.bbIterat->click();
    while (form.tmTimer->isActive())
        form.TimerTick();
}

void Picture(TfmMnForm& form, const std::vector<std::string>& values) {
    WritePicture(form, values[0]);
}

void Report(TfmMnForm& form, const std::vector<std::string>& values) {
    WriteReport(form, values[0]);
}

void Trace(TfmMnForm& form, const std::vector<std::string>& values) {
    WriteTraceCsv(form, values[0]);
}

void Animation(TfmMnForm& form, const std::vector<std::string>& values) {
    if (!form.TraceStart.Picture)
        throw runtime::Exception("--animation needs a --descent before it");
    if (WriteAnimation(form, values[0])) {
        std::cerr << "metopt: note: " << values[0]
                  << ": the pictures have more than 256 colours; the animation maps them to 256\n";
    }
}

}  // namespace

std::span<const BatchOption> BatchOptions() {
    using C = BatchCommand;
    using F = TfmMnForm;
    static const BatchOption options[] = {
        {"batch", "", Text, "required for every option below but --help and --version", &C::batch},
        {"function", "N", Whole(0, 2), "select item N of the equation list", Fields},
        {"x0", "TEXT", Text, "start point x0", Fields},
        {"y0", "TEXT", Text, "start point y0", Fields},
        {"eps", "TEXT", Text, "accuracy eps", Fields},
        {"step", "TEXT", Text, "scan step h_step", Fields},
        {"radius", "TEXT", Text, "radius Uoo of the domain", Fields},
        {"region", "XB XE YB YE", Text, "the visible region", Fields},
        {"centre", "XC YC", Text, "where the axes cross", Fields},
        {"ticks", "XS YS", Text, "steps of the numbers and of the big grid", Fields},
        {"subgrid", "NX NY", Text, "small-grid segments per big step", Fields},
        {"size", "W H", Whole(MinAreaSide, MaxAreaSide),
         "size of the drawing area in pixels (448 412)", ResizeDrawingArea},
        {"fill", "N", Whole(0, 1), "fill method: 0 ten-colour map, 1 gradient", Fields},
        {"colors", "N", Whole(2, 255), "colours of the gradient fill", Fields},
        {"levels", "N", Whole(0, 1), "level-line method: 0 map analysis, 1 threshold", Fields},
        {"level-step", "TEXT", Text, "step of the threshold level lines", Fields},
        {"level-width", "TEXT", Text, "width of the threshold level lines", Fields},
        {"transparent", "", Text, "level lines over the map", Fields},
        {"no-small-grid", "", Text, "leave out the small grid", Fields},
        {"no-big-grid", "", Text, "leave out the big grid", Fields},
        {"no-axes", "", Text, "leave out the axes", Fields},
        {"no-numbers", "", Text, "leave out the numbers", Fields},
        {"palette", "FILE", Text, "load this palette instead of Palitr10.dat", &C::palette},
        {"map", "", Text, "press \"Отобразить график\"", Press(&F::bbDrMpCl)},
        {"level-lines", "", Text, "press \"Построить линии уровня\"", Press(&F::bbDrMpLL)},
        {"grid", "", Text, "press \"Натянуть сетку\"", Press(&F::bbDrGrid)},
        {"descent", "", Text, "press \"Начать итерации\" and draw the whole trace",
         RunWholeDescent},
        {"frame-time", "N", Whole(0, 10000), "frame time of the animation in ms (100)", Fields},
        {"picture", "FILE.png", Text, "write the drawing area as last saved", Picture},
        {"report", "FILE", Text, "write the report page's text (- for standard output)", Report},
        {"trace-csv", "FILE", Text, "write the trace as k,x,y,z (- for standard output)", Trace},
        {"animation", "FILE.gif", Text, "write the last descent as an animated GIF (see below)",
         Animation},
        {"help", "", Text, "print this text", &C::help},
        {"version", "", Text, "print the version", &C::version},
    };
    return options;
}

}  // namespace metopt::ui
