#pragma once

#include <string>

class ARMusic;

// The music as RMN text that the parser reads back to the same music, object for object as
// DumpMusic lists it. The voices hold more than was written: the parse builds chords and grace
// notes into forms of its own and the automatic passes add clefs, keys, bars, beams and ties. So
// what a pass made is left out for the passes to make again, a tie a pass drew is written as a
// tie range, which the passes turn into the same tie, chords are written as chords and grace
// notes with the length they show. Notes under an octava keep the octave they were written in.
std::string MusicText(ARMusic const& music);

// The same with appended written at the end of the voice at voiceIndex (from 0), as if the text
// had held it there.
std::string MusicText(ARMusic const& music, int voiceIndex, std::string const& appended);
