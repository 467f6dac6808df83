#pragma once

#include <QString>

namespace RazidQt {

// The engine draws every music symbol as one character of this font (family "Razid2"), which is
// compiled into the program's resources.
inline constexpr char kMusicFontFamily[] = "Razid2";
inline constexpr char kMusicFontResource[] = ":/fonts/razid2.ttf";

// Adds the music font file to the application's font database; it must run before the notation
// engine starts, since the engine measures its symbols once. Returns false and, when error is
// given, says why when the file cannot be read or does not hold the "Razid2" family: the
// program cannot draw scores then and must not go on with a substitute face. Registering the
// same file again returns true and adds nothing.
bool RegisterMusicFont(QString* error = nullptr, const QString& path = kMusicFontResource);

}  // namespace RazidQt
