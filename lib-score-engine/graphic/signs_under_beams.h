#pragma once

#include <vector>

#include "NVRect.h"

class GREvent;

// Where the accidental signs of an event's notes (the notes of its chord, for one that shares
// its stem) put their ink, in the event's staff: a beam over the event keeps clear of them as
// of its heads, above the signs of stems up and below those of stems down.
std::vector<NVRect> SignInks(GREvent const& event);
