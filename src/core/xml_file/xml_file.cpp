#include "src/core/xml_file/xml_file.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Core::XmlFile {

QByteArray WriteDocument(const std::function<void(QXmlStreamWriter&)>& writeRoot) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QXmlStreamWriter writer(&buffer);
  writer.setAutoFormatting(true);
  writer.writeStartDocument();
  writeRoot(writer);
  writer.writeEndDocument();
  return buffer.data();
}

std::optional<QString> ReplaceFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  // Unbuffered, so a failing write (full disk) is seen here and by commit(), which then keeps the
  // old file; a buffered write would fail only at the final flush, which commit() overlooks.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  if (file.write(bytes) != bytes.size()) {
    const QString failure = file.errorString();
    file.cancelWriting();
    return failure;
  }
  if (!file.commit()) return file.errorString();
  return std::nullopt;
}

void RemoveLeftovers(const QString& path) {
  const QFileInfo target(path);
  // QSaveFile names its temporary file after the target with a random six-character suffix.
  const QRegularExpression temporaryName(
      QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(target.fileName())));
  const QFileInfoList entries =
      target.dir().entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
  for (const QFileInfo& entry : entries)
    if (temporaryName.match(entry.fileName()).hasMatch()) QFile::remove(entry.filePath());
}

std::optional<ParseFault> ReadStartElements(QIODevice& device,
                                            const StartElementHandler& startElement) {
  QXmlStreamReader reader(&device);
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement)
      startElement(reader.name(), reader.attributes());
  }
  if (!reader.hasError()) return std::nullopt;
  return ParseFault{reader.lineNumber(), reader.columnNumber(), reader.errorString()};
}

}  // namespace Core::XmlFile
