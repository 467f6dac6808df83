#include "lib-razid-qt/engine_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace RazidQt {
namespace {

void MapTextFaces() {
  QFont::insertSubstitution(".Razid2", kMusicFontFamily);
  for (const char* face : {"Arial", "Helvetica", "Tahoma", "MS Shell Dlg 2", "Calibri"})
    QFont::insertSubstitutions(face, {"Liberation Sans", "DejaVu Sans"});
  for (const char* face : {"Times", "Times New Roman"})
    QFont::insertSubstitutions(face, {"Liberation Serif", "DejaVu Serif"});
  QFont::insertSubstitutions("Verdana", {"DejaVu Sans", "Liberation Sans"});
}

}  // namespace

bool PrepareEngineFonts(QString* error, const QString& musicFontPath) {
  // Substitutions add to a list: made twice, each face would be listed twice.
  static bool substituted = false;
  if (!substituted) MapTextFaces();
  substituted = true;
  return RegisterMusicFont(error, musicFontPath);
}

bool MusicFamilyAvailable() {
  static bool found = false;
  if (!found)
    found =
        QFontDatabase::families().contains(QLatin1String(kMusicFontFamily), Qt::CaseInsensitive);
  return found;
}

}  // namespace RazidQt
