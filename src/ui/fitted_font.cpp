#include "src/ui/fitted_font.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace UI {

QFont FittedFont(QFont font, const QString& text, QSize room, int smallest) {
  for (int size = QFontInfo(font).pixelSize(); size > smallest; --size) {
    font.setPixelSize(size);
    const QSize needed = QFontMetrics(font).size(Qt::TextShowMnemonic, text);
    if (needed.width() <= room.width() && needed.height() <= room.height()) return font;
  }
  font.setPixelSize(smallest);
  return font;
}

}  // namespace UI
