#pragma once
// What the long passes over the picture need of the window: its status line and its Stop flag;
// and the progress texts of those passes.
#include <cstdint>
#include <string>

namespace metopt::render {

class Progress {
  public:
    virtual void ShowStatus(const std::string& text) = 0;
    // Set by the Stop button, cleared at the start of the other four commands; read before each
    // row by the fill and the colour-analysis level lines.
    // Deliberate: see docs/behaviour.md, "Stop".
    virtual bool StopRequested() const = 0;

  protected:
    ~Progress() = default;
};

// Status texts that go nowhere, and no Stop: for passes drawn off-screen.
class SilentProgress final : public Progress {
  public:
    void ShowStatus(const std::string&) override {}
    bool StopRequested() const override { return false; }
};

// The percentage text of row `row` of `rows` ("0", "33", "100").
std::string RowPercent(std::int32_t row, std::int32_t rows);

// progress.ShowStatus(prefix + RowPercent(row, rows) + "%").
void ShowRowProgress(Progress& progress, const char* prefix, std::int32_t row, std::int32_t rows);

}  // namespace metopt::render
