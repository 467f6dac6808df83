#include "lib-razid-qt/engine_text.h"

#include <QStringDecoder>

namespace RazidQt {

QString DecodeScoreText(QByteArrayView bytes) {
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(bytes);
}

QByteArray EncodeScoreText(const QString& text) {
  return text.toUtf8();
}

}  // namespace RazidQt
