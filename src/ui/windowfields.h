#pragma once
// The batch options that set the window's fields, made from the window's field table: its
// option names, arguments, help texts and ranges.
#include <vector>

#include "ui/batchoptions.h"

namespace metopt::ui {

// The options of one group, in the order of the field table; each sets its fields.
std::vector<BatchOption> FieldOptions(OptionGroup group);

}  // namespace metopt::ui
