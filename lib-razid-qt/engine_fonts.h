#pragma once

#include <QString>

#include "lib-razid-qt/music_font.h"

namespace RazidQt {

// The fonts the engine needs, made ready before the engine starts (by the application, the tests,
// the render tool and the benchmarks alike): the music font is registered from its resource and
// the text faces the engine and the forms name are mapped to Liberation (else DejaVu) faces, so
// layouts are the same on every machine. Returns false, saying why in error when given, when the
// music font cannot be registered; scores cannot be drawn then.
bool PrepareEngineFonts(QString* error = nullptr,
                        const QString& musicFontPath = kMusicFontResource);

// Whether the font database holds the music family. The database is searched until the family is
// found, then never again in the process: devices are made for every page drawn.
bool MusicFamilyAvailable();

}  // namespace RazidQt
