#pragma once

class GRSingleNote;
class GRSpring;

// How far right of a note with ledger lines the next note of its staff stands at the least
// where one of those lines runs at the height of the next note's sign: the line's end, then the
// sign with the air it keeps on its left. 0 where no line meets a sign.
float SignsPastLedgerLines(GRSingleNote const& before, GRSingleNote const& after);
// The same for the notes of two springs: the collider's bands, which part neighbouring springs,
// leave the ledger lines out.
float SignsPastLedgerLines(GRSpring const& before, GRSpring const& after);
