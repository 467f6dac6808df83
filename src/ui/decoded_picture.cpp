#include "src/ui/decoded_picture.h"

#include <QImageReader>

namespace UI {

DecodedPicture::DecodedPicture(const QString& path) : m_size(QImageReader(path).size()) {
  if (m_size.isEmpty()) return;
  // QImage and its readers may be used on any thread; a pixmap only on the GUI thread.
  m_decoding = std::async(std::launch::async, [path] { return QImage(path); });
}

const QPixmap& DecodedPicture::pixmap() {
  if (m_decoding.valid()) m_pixmap = QPixmap::fromImage(m_decoding.get());
  return m_pixmap;
}

}  // namespace UI
