#pragma once

// What the program's XML files (the statistics and the usage record) have in common: a document
// is built whole in memory, auto-formatted, and then replaces its file in one step; reading walks
// the start tags in document order and stops at the first fault. The callers turn faults into
// their own errors, so each reports its own source and function.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

class QIODevice;
class QXmlStreamAttributes;
class QXmlStreamWriter;

namespace Core::XmlFile {

// The XML declaration followed by what `writeRoot` writes, one element per line, each level
// indented by four spaces (UTF-8).
QByteArray WriteDocument(const std::function<void(QXmlStreamWriter&)>& writeRoot);

// Replaces the file at `path` with `bytes`. The bytes go to a temporary file beside it that is
// renamed over the old one only when all of them were written, so a crash or a full disk leaves
// the previous file intact. Returns the file's error text on failure, nothing on success.
std::optional<QString> ReplaceFile(const QString& path, const QByteArray& bytes);

// Removes what replacements of `path` cut short by a kill left beside it: the temporary files,
// named like the file followed by a dot and six letters or digits, that were written but never
// renamed over it. Nothing else in the folder is touched. Call it before the file is in use.
void RemoveLeftovers(const QString& path);

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

}  // namespace Core::XmlFile
