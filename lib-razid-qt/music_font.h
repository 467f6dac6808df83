#pragma once

// Registers the music font "Razid2" from the program's resources with the font database. Returns
// false when the font could not be loaded; the notation engine draws nothing readable without it.
bool RegisterMusicFont();
