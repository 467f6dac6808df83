#include "src/core/exercise/ex_store/ex_stat_xml.h"

#include "src/core/midi/error.h"

#include <QXmlStreamAttributes>
#include <QXmlStreamWriter>

namespace Core::ExDbDetail {

namespace {

// Counts and ids are stored unsigned: a negative or unreadable value reads as 0.
int FieldValue(const QXmlStreamAttributes& attributes, const char* name) {
  return static_cast<int>(attributes.value(QLatin1String(name)).toUInt());
}

}  // namespace

QByteArray XMLSerializer::WriteXML(const ExStatSet& set) {
  return XmlFile::WriteDocument([&set](QXmlStreamWriter& writer) {
    writer.writeStartElement(QStringLiteral("ex_stat"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
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

void XMLSerializer::ReadXML(QIODevice& device, ExStatSet& set) {
  set.Clear();
  XMLSerializer serializer(set);
  const std::optional<XmlFile::ParseFault> fault = XmlFile::ReadStartElements(
      device, [&serializer](QStringView localName, const QXmlStreamAttributes& attributes) {
        serializer.startElement(localName, attributes);
      });
  if (fault) fatalError(*fault);
}

void XMLSerializer::startElement(QStringView localName, const QXmlStreamAttributes& attributes) {
  if (localName == u"ex_stat") {
    const QString version = attributes.value(QLatin1String("version")).toString();
    if (version != QLatin1String("1.0")) throw MELVARIN_ERROR(Error::XmlParse, version);
  } else if (localName == u"entry") {
    ExStat record;
    record.Id = FieldValue(attributes, "id");
    record.ExerciseId = FieldValue(attributes, "exId");
    record.SectionIndex = FieldValue(attributes, "section");
    record.Correct = FieldValue(attributes, "correct");
    record.Wrong = FieldValue(attributes, "wrong");
    m_set.Append(record);
  }
  // Any other element is ignored; "entry" elements count wherever they are nested.
}

void XMLSerializer::fatalError(const XmlFile::ParseFault& fault) {
  throw MELVARIN_ERROR(Error::XmlParse, QStringLiteral("ExerciseDb XML error %1:%2 : %3")
                                            .arg(fault.line)
                                            .arg(fault.column)
                                            .arg(fault.message));
}

}  // namespace Core::ExDbDetail
