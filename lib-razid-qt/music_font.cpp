#include "lib-razid-qt/music_font.h"

#include <QFontDatabase>
#include <QHash>

namespace RazidQt {

bool RegisterMusicFont(QString* error, const QString& path) {
  // Qt gives a new id for every call with the same file; keep one registration per file.
  static QHash<QString, int> registered;
  if (registered.contains(path)) return true;

  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return false;
  };
  const int id = QFontDatabase::addApplicationFont(path);
  if (id < 0) return fail(QStringLiteral("The music font %1 cannot be loaded.").arg(path));
  if (!QFontDatabase::applicationFontFamilies(id).contains(QLatin1String(kMusicFontFamily))) {
    QFontDatabase::removeApplicationFont(id);
    return fail(QStringLiteral("The font %1 does not hold the family \"%2\".")
                    .arg(path, QLatin1String(kMusicFontFamily)));
  }
  registered.insert(path, id);
  return true;
}

}  // namespace RazidQt
