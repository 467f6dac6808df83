#pragma once

class GRSystem;

// Once a line is spaced and its beams are placed, a rest on a staff that voices share moves,
// a line space at a time as engravers move rests, out of the way of what the other voices draw
// over its width: heads, stems, flags, dots, ledger lines, beams and rests. Where the notes
// stood at its time alone it has moved already; beams, stems grown to reach them and marks of
// the columns beside it are known only now. Whether any rest moved.
bool KeepRestsClearOfVoices(GRSystem const& system);

// The same once the line's ties are placed: a rest moves out from under the ties of the other
// voices too, which reach over the notes between their heads. Whether any rest moved.
bool KeepRestsClearOfTies(GRSystem const& system);
