#pragma once

// What the program's data files (the statistics, the usage record, the settings) have in common:
// an XML document is built whole in memory, auto-formatted, and then replaces its file in one
// step; reading walks the start tags in document order and stops at the first fault, and a
// damaged document can still be read tag by tag. A file found damaged is kept beside itself
// before anything replaces it. The callers turn faults into their own errors, so each reports its
// own source and function.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

class QIODevice;
class QVersionNumber;
class QXmlStreamAttributes;
class QXmlStreamWriter;

namespace Core::XmlFile {

// The XML declaration followed by what `writeRoot` writes, one element per line, each level
// indented by four spaces (UTF-8).
QByteArray WriteDocument(const std::function<void(QXmlStreamWriter&)>& writeRoot);

// Replaces the file at `path` with `bytes`. The bytes go to a temporary file beside it, a hidden
// file whose name carries the program's own mark, that is renamed over the old one only when all
// of them were written, so a crash or a full disk leaves the previous file intact. An existing
// file that may not be written is not replaced. Returns the file's error text on failure,
// nothing on success.
std::optional<QString> ReplaceFile(const QString& path, const QByteArray& bytes);

// Removes what replacements of `path` cut short by a kill left beside it: the temporary files
// ReplaceFile names after it. Nothing else in the folder is touched. Call it before the file is
// in use.
void RemoveLeftovers(const QString& path);

// Keeps `bytes`, the content of the file at `path` as it was found, in a new file beside it named
// after it, the reason (`kind`, such as "damaged"), the date and a number: "stats.xml.damaged-
// 2025-03-04-1". A copy of the same kind with the same content is not made twice. Returns the
// path of the copy, or the error text when it could not be written.
struct KeptCopy {
  QString path;   // empty when no copy could be written
  QString error;  // why, when it could not
};
KeptCopy KeepCopy(const QString& path, const QByteArray& bytes, const QString& kind);

// Keeps the file at `path` as it is under a name KeepCopy would give a copy of it, by renaming
// it: a file too large to be read is put aside without being read or copied. A link is renamed,
// not the file it names. Returns the new path, or the error text when it could not be renamed.
KeptCopy MoveAside(const QString& path, const QString& kind);

// What reading one of the data files found. Only a regular file is opened: a named pipe in its
// place would block the reading until some other program writes to it, a device might never end.
struct WholeFile {
  enum Outcome {
    Read,      // `bytes` holds all of it
    Missing,   // nothing of that name (a link to nothing, a file where a folder should be)
    NotAFile,  // a folder, a named pipe, a device or a socket is in its place
    TooLarge,  // a regular file larger than the bound; nothing of it was read
    Failed,    // a regular file that could not be read
  };
  Outcome outcome = Missing;
  QByteArray bytes;
  QString error;  // the words for NotAFile and Failed
  qint64 size = 0;
};
WholeFile ReadWholeFile(const QString& path, qint64 maxBytes);

// What ReadWholeFile would find, found without opening the file (for a store that another
// reader opens): `Read` stands for a regular file within the bound, and no bytes are read.
WholeFile Examine(const QString& path, qint64 maxBytes);

// How the version a document names compares to the version this program writes. Only a plain
// version number ("1", "0.9", "2.1.3") is a version; any other text is damage, not a format.
enum class VersionAge { Same, Older, Newer, NotAVersion };
VersionAge CompareVersion(const QString& text, const QVersionNumber& ours);

// Where and why a document is not well formed.
struct ParseFault {
  qint64 line = 0;
  qint64 column = 0;
  QString message;  // the parser's own words
};

// Calls `startElement` with the local name and the attributes of every start tag, in document
// order, and returns the fault that ended the reading early, if any. An exception thrown by
// `startElement` ends the reading and passes on.
using StartElementHandler = std::function<void(QStringView, const QXmlStreamAttributes&)>;
std::optional<ParseFault> ReadStartElements(QIODevice& device,
                                            const StartElementHandler& startElement);

// Reads a document that is not well formed, tag by tag: each start tag that is complete and well
// formed on its own goes to `startElement`, in document order, also those after damage. For a
// tag that cannot be read, `unreadable` gets what looks like its name (the characters after the
// "<" up to the first space), so a reader that follows the nesting can tell what it missed.
void SalvageStartElements(const QByteArray& document, const StartElementHandler& startElement,
                          const std::function<void(QStringView)>& unreadable = {});

}  // namespace Core::XmlFile
