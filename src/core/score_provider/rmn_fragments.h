#pragma once

// Pieces of RAZID Music Notation text from which the question and answer scores are written.
// Their leading and trailing spaces belong to them: the notation parser needs the separation and
// the score texts are compared exactly.

#include <array>
#include <string>

namespace Core {

extern const std::string GCleffC;  // treble clef tag
extern const std::string FCleffC;  // bass clef tag
extern const std::string StemsAuto;
extern const std::string StemsUp;
extern const std::string StemsDown;
extern const std::string startChord;
extern const std::string finishChord;
extern const std::string comma;
extern const std::string whitespace;
extern const std::string finishStaff;
extern const std::string rightFormat;      // green note
extern const std::string wrongFormat;      // red note
extern const std::string notPlayedFormat;  // blue note
extern const std::string blackFormat;

// By pitch class from C: [0] the sharp name, [1] the flat name ("&" is the notation's flat).
extern const std::array<std::array<const char*, 2>, 12> RazidNotesNamesMap;
// Octave numbers of the notation, index 0 to 8; octave 1 starts at middle C.
extern const std::array<const char*, 9> NoteOctaveSignature;

}  // namespace Core
