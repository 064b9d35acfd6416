#include "app/settings.h"

#include <algorithm>
#include <iterator>

#include "core/builtinfunctions.h"

namespace metopt::app {

std::vector<int> DefaultComparedItems() {
    std::vector<int> items;
    for (const core::TMethod method : core::DefaultComparedMethods)
        items.push_back(core::ItemOf(method));
    return items;
}

render::GraphFieldTexts GraphFields(const TSettings& settings) {
    render::GraphFieldTexts fields;
    fields.Xb = settings.xb;
    fields.Xe = settings.xe;
    fields.Yb = settings.yb;
    fields.Ye = settings.ye;
    fields.Xc = settings.xc;
    fields.Yc = settings.yc;
    fields.Xs = settings.xs;
    fields.Ys = settings.ys;
    fields.SgXs = settings.sgxs;
    fields.SgYs = settings.sgys;
    return fields;
}

bool IsRegionField(std::string TSettings::*member) {
    return std::ranges::find(RegionFields, member) != std::end(RegionFields);
}

bool SameRegion(const TSettings& a, const TSettings& b) {
    return std::ranges::all_of(RegionFields,
                               [&](std::string TSettings::*field) { return a.*field == b.*field; });
}

render::LevelLineOptions LevelLines(const TSettings& settings) {
    return {settings.levelStep, settings.levelWidth, settings.transparent};
}

render::GridLayers Layers(const TSettings& settings) {
    render::GridLayers layers;
    layers.small = settings.smallGrid;
    layers.big = settings.bigGrid;
    layers.axes = settings.axes;
    layers.numbers = settings.numbers;
    return layers;
}

bool TakeClassicView(TSettings& settings) {
    const int classic = settings.equationItem - core::FunctionCount;
    if (settings.equationItem < 0 || classic < 0 || classic >= core::ClassicFunctionCount)
        return false;
    const core::ClassicView& view = core::ClassicViews[classic];
    const char* const texts[] = {view.xb, view.xe, view.yb, view.ye,
                                 view.xs, view.ys, view.x0, view.y0};
    static_assert(std::size(texts) == std::size(ClassicViewFields));
    for (std::size_t i = 0; i < std::size(texts); ++i)
        settings.*ClassicViewFields[i] = texts[i];
    return true;
}

int EquationItem(const TSettings& settings) {
    if (settings.equationItem >= 0)
        return settings.equationItem;
    const auto items = core::EquationItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (settings.equationText == items[i])
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace metopt::app
