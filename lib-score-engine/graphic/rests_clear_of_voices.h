#pragma once

class GRSystem;

// Once a line is spaced and its beams are placed, a rest on a staff that voices share moves,
// a line space at a time as engravers move rests, out of the way of what the other voices draw
// over its width: heads, stems, flags, dots, ledger lines, beams and rests. Where the notes
// stood at its time alone it has moved already; beams, stems grown to reach them and marks of
// the columns beside it are known only now. On a line squeezed narrower than its notes need, a
// rest moves out of the way of its own voice's notes beside it too, which then reach over it, on
// a staff of one voice as well. Whether any rest moved.
bool KeepRestsClearOfVoices(GRSystem const& system, bool squeezed);

// The same once the line's ties and slurs are placed: a rest moves out from under the ties of
// the other voices too, which reach over the notes between their heads, and out of the way of
// their slurs' tips. Whether any rest moved.
bool KeepRestsClearOfTies(GRSystem const& system, bool squeezed);
