#include "render/fieldtexts.h"

#include "runtime/exceptions.h"
#include "runtime/numparse.h"

namespace metopt::render {

// Deliberate: see docs/behaviour.md, "Lenient numbers".
core::TRegion ReadRegion(const GraphFieldTexts& fields) {
    core::TRegion region;
    region.Xb = runtime::ParseNumber(fields.Xb);
    region.Xe = runtime::ParseNumber(fields.Xe);
    region.Yb = runtime::ParseNumber(fields.Yb);
    region.Ye = runtime::ParseNumber(fields.Ye);
    return region;
}

void RefreshReal(long double& target, const std::string& text) {
    try {
        target = runtime::ParseNumber(text);
    } catch (const runtime::Exception&) {
        // keeps the last good value
    }
}

void RefreshCount(std::int32_t& target, const std::string& text) {
    try {
        target = runtime::ParseInteger(text);
    } catch (const runtime::Exception&) {
        // keeps the last good value
    }
}

}  // namespace metopt::render
