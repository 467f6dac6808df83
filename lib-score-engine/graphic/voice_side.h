#pragma once

#include "GDirection.h"

class GREvent;

// The side of its voice a mark over or under the notes takes where voices share the event's
// staff: that of its stems, away from the other voice; automatic where the staff holds one
// voice, or where the event tells no side.
GDirection VoiceSide(GREvent const* event);
