// Stand-in for the music font registration of the drawing library, which is written in parallel
// with the shell; this file goes when that library joins the build. It registers the font when
// the resource is present and otherwise lets the program start without it, since nothing draws
// music before the library exists.

#include "lib-razid-qt/music_font.h"

#include <QFile>
#include <QFontDatabase>

bool RegisterMusicFont() {
  const QString path = QStringLiteral(":/fonts/razid2.ttf");
  if (!QFile::exists(path)) return true;
  return QFontDatabase::addApplicationFont(path) >= 0;
}
