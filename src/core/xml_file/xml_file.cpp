#include "src/core/xml_file/xml_file.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QVersionNumber>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Core::XmlFile {

namespace {

// Temporary files of a replacement are hidden and carry this mark after the target's name, so the
// clean-up at start can never take a file of the learner's for one of them.
constexpr char TemporaryMark[] = ".melvarin-save-";
constexpr int TemporarySuffixLength = 6;
constexpr qint64 ReadChunk = 1 << 20;

QString TemporaryPath(const QFileInfo& target) {
  static constexpr char Alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString suffix;
  for (int i = 0; i < TemporarySuffixLength; ++i)
    suffix += QLatin1Char(Alphabet[QRandomGenerator::global()->bounded(int(sizeof Alphabet - 1))]);
  return target.dir().filePath(QLatin1Char('.') + target.fileName() + QLatin1String(TemporaryMark) +
                               suffix);
}

// The system's words for `error`, in plain words where the learner can do something about it.
QString SystemError(int error = errno) {
  if (error == ENOSPC) return QStringLiteral("the disk is full");
  return QString::fromLocal8Bit(std::strerror(error));
}

std::optional<QString> WriteWhole(QFile& file, const QByteArray& bytes) {
  // Written here, not through a buffer, so a failing write is seen at once with its cause. The
  // system may take part of the bytes (a nearly full disk takes what fits) and tells the cause
  // only when asked for the rest.
  for (qsizetype written = 0; written < bytes.size();) {
    const ssize_t taken =
        ::write(file.handle(), bytes.constData() + written, size_t(bytes.size() - written));
    if (taken < 0 && errno == EINTR) continue;
    if (taken <= 0) return SystemError(taken < 0 ? errno : ENOSPC);
    written += taken;
  }
  // On disk before the rename makes it the file: a crash of the machine must not leave an empty
  // file under the old name.
  if (::fdatasync(file.handle()) != 0) return SystemError();
  return std::nullopt;
}

// The start of the names of the kept copies of a file: "stats.xml.damaged-".
QString CopyStem(const QFileInfo& original, const QString& kind) {
  return original.fileName() + QLatin1Char('.') + kind + QLatin1Char('-');
}

// The first name of the day that no file has: "stats.xml.damaged-2025-03-04-<n>". Earlier copies
// are never overwritten: each damage found keeps its own.
QString FreeCopyName(const QFileInfo& original, const QString& kind) {
  const QString dated = original.dir().filePath(
      CopyStem(original, kind) + QDate::currentDate().toString(Qt::ISODate) + QLatin1Char('-'));
  for (int number = 1;; ++number) {
    const QString copy = dated + QString::number(number);
    if (!QFileInfo(copy).exists() && !QFileInfo(copy).isSymLink()) return copy;
  }
}

// Sorts what a file's status tells: anything but a regular file within the bound ends the reading.
void Classify(const struct stat& status, qint64 maxBytes, WholeFile& result) {
  result.size = status.st_size;
  if (S_ISREG(status.st_mode)) {
    result.outcome = result.size > maxBytes ? WholeFile::TooLarge : WholeFile::Read;
    return;
  }
  result.outcome = WholeFile::NotAFile;
  result.error = S_ISDIR(status.st_mode)    ? QStringLiteral("a folder is in its place")
                 : S_ISFIFO(status.st_mode) ? QStringLiteral("a named pipe is in its place")
                                            : QStringLiteral("it is not a regular file");
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
  // A named pipe, a device or a socket is not ours to replace by a file.
  if (target.exists() && !target.isFile()) return QStringLiteral("it is not a regular file");
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
    failure = SystemError();
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
  const QStringList earlier = folder.entryList({CopyStem(original, kind) + QLatin1Char('*')},
                                               QDir::Files | QDir::Hidden, QDir::Name);
  for (const QString& name : earlier)
    if (SameContent(folder.filePath(name), bytes)) return {folder.filePath(name), {}};

  const QString copy = FreeCopyName(original, kind);
  if (const std::optional<QString> failure = ReplaceFile(copy, bytes)) return {{}, *failure};
  return {copy, {}};
}

KeptCopy MoveAside(const QString& path, const QString& kind) {
  const QFileInfo original(path);
  const QString aside = FreeCopyName(original, kind);
  // A rename never replaces a file of that name: a copy made meanwhile only costs this one.
  QFile file(path);
  if (!file.rename(aside)) return {{}, file.errorString()};
  return {aside, {}};
}

WholeFile ReadWholeFile(const QString& path, qint64 maxBytes) {
  WholeFile result;
  // Without blocking: a named pipe opens at once and is then told apart by its kind.
  const int descriptor =
      ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) {
    result.outcome = errno == ENOENT || errno == ENOTDIR ? WholeFile::Missing : WholeFile::Failed;
    result.error = SystemError();
    return result;
  }
  QFile file;
  file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) {
    result.outcome = WholeFile::Failed;
    result.error = SystemError();
    return result;
  }
  Classify(status, maxBytes, result);
  if (result.outcome != WholeFile::Read) return result;
  // The file may grow while it is read: no more than one byte beyond the bound is taken in.
  result.bytes.reserve(qsizetype(result.size));
  while (result.bytes.size() <= maxBytes) {
    const QByteArray chunk =
        file.read(std::min<qint64>(ReadChunk, maxBytes + 1 - result.bytes.size()));
    if (chunk.isEmpty()) break;
    result.bytes += chunk;
  }
  if (file.error() != QFileDevice::NoError) {
    result.outcome = WholeFile::Failed;
    result.error = file.errorString();
    result.bytes.clear();
  } else if (result.bytes.size() > maxBytes) {
    result.outcome = WholeFile::TooLarge;
    result.size = result.bytes.size();
    result.bytes.clear();
  } else {
    result.outcome = WholeFile::Read;
  }
  return result;
}

WholeFile Examine(const QString& path, qint64 maxBytes) {
  WholeFile result;
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
    result.outcome = errno == ENOENT || errno == ENOTDIR ? WholeFile::Missing : WholeFile::Failed;
    result.error = SystemError();
    return result;
  }
  Classify(status, maxBytes, result);
  return result;
}

VersionAge CompareVersion(const QString& text, const QVersionNumber& ours) {
  qsizetype suffix = 0;
  const QVersionNumber number = QVersionNumber::fromString(text, &suffix);
  if (number.isNull() || suffix != text.size()) return VersionAge::NotAVersion;
  const int order = QVersionNumber::compare(number, ours);
  return order < 0 ? VersionAge::Older : order > 0 ? VersionAge::Newer : VersionAge::Same;
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
