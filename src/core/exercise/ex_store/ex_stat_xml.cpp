#include "src/core/exercise/ex_store/ex_stat_xml.h"

#include "src/core/midi/error.h"

#include <QBuffer>
#include <QVersionNumber>
#include <QXmlStreamAttributes>
#include <QXmlStreamWriter>

#include <algorithm>
#include <climits>

namespace Core::ExDbDetail {

namespace {

const QVersionNumber FormatVersion(1, 0);

// Fields are stored unsigned: a negative, missing or unreadable value reads as 0. A number too
// large for an int is told apart, so that it is neither wrapped nor silently zeroed.
struct Field {
  int value = 0;
  bool fits = true;
};

Field FieldValue(const QXmlStreamAttributes& attributes, const char* name) {
  const QStringView text = attributes.value(QLatin1String(name));
  bool isNumber = false;
  const qulonglong number = text.toULongLong(&isNumber);
  if (isNumber) return number <= INT_MAX ? Field{int(number)} : Field{INT_MAX, false};
  const bool digitsOnly =
      !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
  return digitsOnly ? Field{INT_MAX, false} : Field{};
}

}  // namespace

QByteArray XMLSerializer::WriteXML(const ExStatSet& set) {
  return XmlFile::WriteDocument([&set](QXmlStreamWriter& writer) {
    writer.writeStartElement(QStringLiteral("ex_stat"));
    writer.writeAttribute(QStringLiteral("version"), FormatVersion.toString());
    for (const ExStat& record : set.Records()) {
      writer.writeStartElement(QStringLiteral("entry"));
      writer.writeAttribute(QStringLiteral("id"), QString::number(record.Id));
      writer.writeAttribute(QStringLiteral("exId"), QString::number(record.ExerciseId));
      writer.writeAttribute(QStringLiteral("section"), QString::number(record.SectionIndex));
      writer.writeAttribute(QStringLiteral("correct"), QString::number(record.Correct));
      writer.writeAttribute(QStringLiteral("wrong"), QString::number(record.Wrong));
      writer.writeEndElement();
    }
    writer.writeEndElement();
  });
}

bool XMLSerializer::ReadXML(QIODevice& device, ExStatSet& set, bool olderVersions) {
  set.Clear();
  XMLSerializer serializer(set, olderVersions);
  const std::optional<XmlFile::ParseFault> fault = XmlFile::ReadStartElements(
      device, [&serializer](QStringView localName, const QXmlStreamAttributes& attributes) {
        serializer.startElement(localName, attributes);
      });
  if (fault) fatalError(*fault);
  return serializer.m_allFit;
}

void XMLSerializer::SalvageXML(const QByteArray& document, ExStatSet& set) {
  set.Clear();
  XMLSerializer serializer(set, true);
  XmlFile::SalvageStartElements(
      document, [&serializer](QStringView localName, const QXmlStreamAttributes& attributes) {
        if (localName == u"entry") serializer.AppendEntry(attributes);
      });
}

bool XMLSerializer::IsNewerVersion(const QByteArray& document) {
  std::optional<QString> version;
  XmlFile::SalvageStartElements(
      document, [&version](QStringView localName, const QXmlStreamAttributes& attributes) {
        if (!version && localName == u"ex_stat")
          version = attributes.value(QLatin1String("version")).toString();
      });
  return version && XmlFile::CompareVersion(*version, FormatVersion) == XmlFile::VersionAge::Newer;
}

void XMLSerializer::startElement(QStringView localName, const QXmlStreamAttributes& attributes) {
  if (localName == u"ex_stat") {
    const QString version = attributes.value(QLatin1String("version")).toString();
    const bool older = m_olderVersions && XmlFile::CompareVersion(version, FormatVersion) ==
                                              XmlFile::VersionAge::Older;
    if (version != QLatin1String("1.0") && !older) throw MELVARIN_ERROR(Error::XmlParse, version);
  } else if (localName == u"entry") {
    AppendEntry(attributes);
  }
  // Any other element is ignored; "entry" elements count wherever they are nested.
}

void XMLSerializer::AppendEntry(const QXmlStreamAttributes& attributes) {
  const Field id = FieldValue(attributes, "id");
  const Field exercise = FieldValue(attributes, "exId");
  const Field section = FieldValue(attributes, "section");
  const Field correct = FieldValue(attributes, "correct");
  const Field wrong = FieldValue(attributes, "wrong");
  m_allFit = m_allFit && id.fits && exercise.fits && section.fits && correct.fits && wrong.fits;
  // A question, trainer or section beyond every real one would only ever be a wrong record.
  if (!id.fits || !exercise.fits || !section.fits) return;
  m_set.Append({id.value, exercise.value, section.value, correct.value, wrong.value});
}

void XMLSerializer::fatalError(const XmlFile::ParseFault& fault) {
  throw MELVARIN_ERROR(Error::XmlParse, QStringLiteral("ExerciseDb XML error %1:%2 : %3")
                                            .arg(fault.line)
                                            .arg(fault.column)
                                            .arg(fault.message));
}

}  // namespace Core::ExDbDetail
