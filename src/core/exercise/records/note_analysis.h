#pragma once

// One note of an analysed answer, coloured by how it compares with the expected notes.

namespace Core {

struct NoteWAnalysis {
  enum Color : int {
    CL_RIGHT = 0,       // played and expected
    CL_WRONG = 1,       // played, not expected
    CL_NOT_PLAYED = 2,  // expected, missing
  };

  int Key = -1;  // piano key index, 0 = A0
  Color NoteColor = CL_RIGHT;

  friend bool operator==(const NoteWAnalysis&, const NoteWAnalysis&) = default;
};

}  // namespace Core
