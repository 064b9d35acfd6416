#pragma once
// Transitional: the headers the viewport module was split into, for includers not yet moved to
// them.
#include "render/coordinates.h"
#include "render/fieldtexts.h"
#include "render/graphparams.h"
#include "render/mousereadout.h"
#include "render/progress.h"
#include "render/rowteam.h"
#include "render/sampling.h"
#include "render/valuescan.h"
#include "render/viewreset.h"
