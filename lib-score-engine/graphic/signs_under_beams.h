#pragma once

#include <vector>

#include "NVRect.h"

class GREvent;
class GRSingleNote;

// How far the ink of a sign reaches above and below its middle at size 1.
void SignReach(unsigned int symbol, float* above, float* below);

// Where the accidental signs of an event's notes (the notes of its chord, for one that shares
// its stem) put their ink, in the event's staff: a beam over the event keeps clear of them as
// of its heads, above the signs of stems up and below those of stems down.
std::vector<NVRect> SignInks(GREvent const& event);

// Where the ledger lines of an event's notes (of its chord's, as above) put their ink, in the
// event's staff: a steep beam passing over a chord's heads runs through the lines reaching past
// them otherwise.
std::vector<NVRect> LedgerLineInks(GREvent const& event);

// Where the signs of the note alone put their ink, as above.
std::vector<NVRect> NoteSignInks(GRSingleNote const& note);
