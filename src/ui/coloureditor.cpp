// The colour editor: the entry index, its three components and the sample, which change the
// palette while the program runs.
#include <optional>

#include "palette/palette.h"
#include "platform/canvas.h"
#include "platform/paintbox.h"
#include "platform/spinedit.h"
#include "render/fill.h"
#include "ui/mainform.h"

namespace metopt::ui {

namespace {

enum Component { Red, Green, Blue };

}  // namespace

std::optional<std::size_t> TfmMnForm::EditedEntry() const {
    const std::int32_t index = seDiNmCl->Value();
    // While the user types, the field may hold a number outside the table: the editor then
    // leaves everything as it is.
    // Deliberate: see docs/behaviour.md, "Editor index".
    if (index < 0 || index >= palette::PaletteSize)
        return std::nullopt;
    return static_cast<std::size_t>(index);
}

// Deliberate: see docs/behaviour.md, "Editor clamp".
void TfmMnForm::seDiNmClChange() {
    const std::optional<std::size_t> i = EditedEntry();
    if (!i) {
        return;
    }
    seDiColR->SetValue(session_.Palette[*i].R);
    seDiColG->SetValue(session_.Palette[*i].G);
    seDiColB->SetValue(session_.Palette[*i].B);
    pbDiClExPaint();
}

// Deliberate: see docs/behaviour.md, "Editor clamp".
void TfmMnForm::StoreComponent(int component, const platform::SpinEdit* edit) {
    const std::optional<std::size_t> i = EditedEntry();
    if (!i) {
        return;
    }
    palette::TPaletteEntry& entry = session_.Palette[*i];
    const std::int32_t value = edit->Value();
    switch (component) {
        case Red:
            entry.R = value;
            break;
        case Green:
            entry.G = value;
            break;
        default:
            entry.B = value;
            break;
    }
    entry.Color = palette::PackColor(entry.R, entry.G, entry.B);
    pbDiClExPaint();
}

void TfmMnForm::seDiColRChange() {
    StoreComponent(Red, seDiColR);
}
void TfmMnForm::seDiColGChange() {
    StoreComponent(Green, seDiColG);
}
void TfmMnForm::seDiColBChange() {
    StoreComponent(Blue, seDiColB);
}

void TfmMnForm::pbDiClExPaint() {
    const std::optional<std::size_t> i = EditedEntry();
    if (!i) {
        return;
    }
    platform::Canvas& sample = pbDiClEx->Surface();
    sample.SetPenColor(session_.Palette[palette::OutlineColor].Color);
    sample.SetBrushColor(session_.Palette[*i].Color);
    sample.Rectangle(0, 0, sample.Width(), sample.Height());
    render::DrawLegend(pbColMap->Surface(), session_.Palette);
}

}  // namespace metopt::ui
