#pragma once

// A picture file decoded on a worker thread while the program goes on. Its size is read from the
// file's header at once; the picture itself is waited for when it is first drawn. A large
// picture that is not on the screen yet (the home screen's background while the window comes
// up) then costs the GUI thread nothing until then.

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <future>

namespace UI {

class DecodedPicture {
 public:
  // The worker is waited for when the picture goes (the future of an asynchronous call does).
  explicit DecodedPicture(const QString& path);

  // The size the file declares; empty when the file is missing or no picture.
  QSize size() const { return m_size; }
  bool isNull() const { return m_size.isEmpty(); }
  // The picture, a null pixmap when it could not be read; the first call waits for the worker.
  const QPixmap& pixmap();

 private:
  QSize m_size;
  std::future<QImage> m_decoding;
  QPixmap m_pixmap;
};

}  // namespace UI
