#pragma once

#include "NVstring.h"

class GRStaff;
class GRSystem;
class VGFont;

// One start-up font: the name the engine asks for, its size, and the font the start-up made for
// it (owned by the font cache, null until the engine starts).
struct RazidFontDefinition {
  NVstring name;
  int size;
  VGFont const* font = nullptr;
};

// The start-up fonts: the music font, whose name is the one the font cache uses when a request
// names none, and the text font.
struct RazidFontDefinitions {
  RazidFontDefinition music{"Razid2", 200};
  RazidFontDefinition text{"Times", 75};
};

extern RazidFontDefinitions gFontDefs;

// The system and the staff being drawn: range tags draw only the piece of the current system,
// and texts are placed under the current staff.
extern GRSystem const* gCurSystem;
extern GRStaff const* gCurStaff;
