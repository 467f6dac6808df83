#pragma once

// How far the ink of an articulation's glyph (a breath mark's too) reaches above and below its
// base line at size 1: the glyphs stand on it, the fermata under it hangs from it, the
// staccato's dot is centred on it. False for another glyph.
bool ArticulationGlyphReach(unsigned int symbol, float* above, float* below);
