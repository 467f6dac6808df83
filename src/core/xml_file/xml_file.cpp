#include "src/core/xml_file/xml_file.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Core::XmlFile {

namespace {

// Temporary files of a replacement are hidden and carry this mark after the target's name, so the
// clean-up at start can never take a file of the learner's for one of them.
constexpr char TemporaryMark[] = ".melvarin-save-";
constexpr int TemporarySuffixLength = 6;

QString TemporaryPath(const QFileInfo& target) {
  static constexpr char Alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString suffix;
  for (int i = 0; i < TemporarySuffixLength; ++i)
    suffix += QLatin1Char(Alphabet[QRandomGenerator::global()->bounded(int(sizeof Alphabet - 1))]);
  return target.dir().filePath(QLatin1Char('.') + target.fileName() + QLatin1String(TemporaryMark) +
                               suffix);
}

std::optional<QString> WriteWhole(QFile& file, const QByteArray& bytes) {
  // Unbuffered, so a failing write (full disk) is seen here and not at a flush that might be
  // overlooked.
  if (file.write(bytes) != bytes.size()) return file.errorString();
  // On disk before the rename makes it the file: a crash of the machine must not leave an empty
  // file under the old name.
  if (::fdatasync(file.handle()) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  return std::nullopt;
}

bool SameContent(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.size() == bytes.size() && file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

}  // namespace

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
  // A link is followed, so the file it names is replaced and the link stays.
  const QFileInfo link(path);
  const QFileInfo target(link.isSymLink() ? link.symLinkTarget() : path);
  if (target.isDir()) return QStringLiteral("a folder is in its place");
  if (target.exists() && !target.isWritable()) return QStringLiteral("it may not be written");
  QFile file;
  // A fresh name, created anew: a file of that name that exists already is never written into.
  for (int attempt = 0; attempt < 10 && !file.isOpen(); ++attempt) {
    file.setFileName(TemporaryPath(target));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) &&
        !QFileInfo::exists(file.fileName()))
      return file.errorString();
  }
  if (!file.isOpen()) return file.errorString();
  if (target.exists()) file.setPermissions(target.permissions());
  std::optional<QString> failure = WriteWhole(file, bytes);
  file.close();
  // The rename replaces the old file in one step; a kill before it leaves the old one.
  if (!failure && std::rename(QFile::encodeName(file.fileName()).constData(),
                              QFile::encodeName(target.filePath()).constData()) != 0)
    failure = QString::fromLocal8Bit(std::strerror(errno));
  if (failure) file.remove();
  return failure;
}

void RemoveLeftovers(const QString& path) {
  const QFileInfo target(path);
  const QRegularExpression temporaryName(
      QStringLiteral("^\\.%1%2[A-Za-z0-9]{%3}$")
          .arg(QRegularExpression::escape(target.fileName()),
               QRegularExpression::escape(QLatin1String(TemporaryMark)))
          .arg(TemporarySuffixLength));
  const QFileInfoList entries =
      target.dir().entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
  for (const QFileInfo& entry : entries)
    if (temporaryName.match(entry.fileName()).hasMatch()) QFile::remove(entry.filePath());
}

KeptCopy KeepCopy(const QString& path, const QByteArray& bytes, const QString& kind) {
  const QFileInfo original(path);
  const QDir folder = original.dir();
  const QString stem = original.fileName() + QLatin1Char('.') + kind + QLatin1Char('-');
  const QStringList earlier =
      folder.entryList({stem + QLatin1Char('*')}, QDir::Files | QDir::Hidden, QDir::Name);
  for (const QString& name : earlier)
    if (SameContent(folder.filePath(name), bytes)) return {folder.filePath(name), {}};

  const QString dated = stem + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('-');
  for (int number = 1;; ++number) {
    const QString copy = folder.filePath(dated + QString::number(number));
    // Earlier copies are never overwritten: each damage found keeps its own.
    if (QFileInfo::exists(copy)) continue;
    if (const std::optional<QString> failure = ReplaceFile(copy, bytes)) return {{}, *failure};
    return {copy, {}};
  }
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

void SalvageStartElements(const QByteArray& document, const StartElementHandler& startElement,
                          const std::function<void(QStringView)>& unreadable) {
  // Every tag is read on its own, from its "<" to the next one: damage costs the tag it is in and
  // nothing beyond it.
  for (qsizetype at = document.indexOf('<'); at >= 0;) {
    const qsizetype next = document.indexOf('<', at + 1);
    const QByteArray tag = document.mid(at, next < 0 ? -1 : next - at);
    at = next;
    if (tag.startsWith("</") || tag.startsWith("<?") || tag.startsWith("<!")) continue;
    QXmlStreamReader reader(tag);
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartElement) {
    }
    if (reader.tokenType() == QXmlStreamReader::StartElement) {
      startElement(reader.name(), reader.attributes());
    } else if (unreadable) {
      qsizetype end = 1;
      while (end < tag.size() && !std::strchr(" \t\r\n/>", tag[end])) ++end;
      unreadable(QString::fromUtf8(tag.mid(1, end - 1)));
    }
  }
}

}  // namespace Core::XmlFile
