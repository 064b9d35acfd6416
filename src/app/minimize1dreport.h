#pragma once
// What the one-dimensional lab writes as text: its table (each method's steps and result) as the
// report prints numbers, and the counts of values against eps as CSV.
#include <string>
#include <vector>

#include "app/minimize1d.h"

namespace metopt::app {

// The lines "Функция: f(x) = ...", "Отрезок: [a, b], eps = ...", then for each method an empty
// line, its caption, its columns and a row per step ("n | a | b | t1 | t2 | φ(t1) | φ(t2) | b − a"
// for the methods of two trial points a step, "n | t | φ(t) | a | b | b − a" for parabolic
// interpolation and Brent's method), and "x* = ..., f(x*) = ..., вычислений f: N" (or its error
// after the steps it made: "Ошибка: ..., вычислений f: N").
std::vector<std::string> Minimize1DReport(const TMinimize1D& lab);
// A method's last line: "x* = ..., f(x*) = ..., вычислений f: N", or "Ошибка: ..., вычислений
// f: N".
std::string Minimize1DResultLine(const core::TMinimum1D& result);
void WriteMinimize1DReport(const TMinimize1D& lab, const std::string& fileName);

// "eps,<the methods' words>,golden-theory,fibonacci-theory" and a row per eps, round-trip
// numbers; a method whose f raised at that eps has an empty cell.
std::string CountsCsv(const std::vector<core::TLineSearch>& methods,
                      const std::vector<core::TCountRow>& rows);
void WriteCountsCsv(const TMinimize1D& lab, const std::string& fileName);

}  // namespace metopt::app
