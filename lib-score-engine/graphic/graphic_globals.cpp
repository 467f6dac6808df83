#include "graphic_globals.h"

RazidFontDefinitions gFontDefs;
GRSystem const* gCurSystem = nullptr;
GRStaff const* gCurStaff = nullptr;
