#include "src/core/telemetry/telemetry_xml.h"

#include "src/core/midi/error.h"

#include <QVersionNumber>
#include <QXmlStreamAttributes>
#include <QXmlStreamWriter>

#include <algorithm>
#include <climits>

namespace Core {

namespace {

const QVersionNumber FormatVersion(1, 0);

// Fifteen significant digits: enough that an average survives a save and a load unchanged in
// every digit the record cares about, and the form the service's parser expects.
QString DoubleText(double value) {
  return QString::number(value, 'g', 15);
}

void WriteExercise(QXmlStreamWriter& writer, const TelemetryData& data, int id) {
  writer.writeStartElement(QStringLiteral("exercise"));
  writer.writeAttribute(QStringLiteral("id"), QString::number(id));
  writer.writeAttribute(QStringLiteral("exLaunchCount"), QString::number(data.exLaunchCount[id]));
  writer.writeAttribute(QStringLiteral("quizLaunchCount"),
                        QString::number(data.quizLaunchCount[id]));
  writer.writeAttribute(QStringLiteral("refLaunchCount"), QString::number(data.refLaunchCount[id]));
  writer.writeAttribute(QStringLiteral("settingsLaunchCount"),
                        QString::number(data.settingsLaunchCount[id]));
  writer.writeAttribute(QStringLiteral("exTimeAverage"), QString::number(data.exTimeAverage[id]));
  writer.writeAttribute(QStringLiteral("quizTimeAverage"),
                        QString::number(data.quizTimeAverage[id]));
  writer.writeAttribute(QStringLiteral("refTimeAverage"), QString::number(data.refTimeAverage[id]));
  writer.writeAttribute(QStringLiteral("settingsTimeAverage"),
                        QString::number(data.settingsTimeAverage[id]));
  writer.writeAttribute(QStringLiteral("exScoreAverage"), DoubleText(data.exScoreAverage[id]));
  writer.writeAttribute(QStringLiteral("quizScoreAverage"), DoubleText(data.quizScoreAverage[id]));
  for (const auto& [name, row] : {std::pair{QStringLiteral("exScore"), &data.exScore[id]},
                                  std::pair{QStringLiteral("quizScore"), &data.quizScore[id]}}) {
    for (int index = 0; index < TelemetryData::ScoreCount; ++index) {
      writer.writeStartElement(name);
      writer.writeAttribute(QStringLiteral("index"), QString::number(index));
      writer.writeAttribute(QStringLiteral("value"), DoubleText((*row)[index]));
      writer.writeEndElement();
    }
  }
  writer.writeEndElement();
}

double DoubleValue(const QXmlStreamAttributes& attributes, const char* name) {
  return attributes.value(QLatin1String(name)).toDouble();
}

}  // namespace

QByteArray TelemetryXMLSerializer::WriteXML(const TelemetryData& data) {
  return XmlFile::WriteDocument([&data](QXmlStreamWriter& writer) {
    writer.writeStartElement(QStringLiteral("telemetry"));
    writer.writeAttribute(QStringLiteral("version"), FormatVersion.toString());
    writer.writeAttribute(QStringLiteral("appLaunchCount"), QString::number(data.appLaunchCount));
    writer.writeAttribute(QStringLiteral("appTimeAverage"), QString::number(data.appTimeAverage));
    writer.writeAttribute(QStringLiteral("uid"), data.uid.toString(QUuid::WithBraces));
    writer.writeAttribute(QStringLiteral("installDate"), QString::number(data.installDate));
    writer.writeAttribute(QStringLiteral("os"), data.os);
    writer.writeAttribute(QStringLiteral("locale"), data.locale);
    writer.writeAttribute(QStringLiteral("tz"), QString::number(data.tz));
    for (int id = 0; id < TelemetryData::ExerciseCount; ++id) WriteExercise(writer, data, id);
    writer.writeEndElement();
  });
}

bool TelemetryXMLSerializer::ReadXML(QIODevice& device, TelemetryData& data) {
  TelemetryXMLSerializer serializer(data);
  const std::optional<XmlFile::ParseFault> fault = XmlFile::ReadStartElements(
      device, [&serializer](QStringView localName, const QXmlStreamAttributes& attributes) {
        serializer.startElement(localName, attributes);
      });
  if (fault) fatalError(*fault);
  return serializer.m_allFit;
}

void TelemetryXMLSerializer::SalvageXML(const QByteArray& document, TelemetryData& data) {
  TelemetryXMLSerializer serializer(data);
  serializer.m_anyVersion = true;
  XmlFile::SalvageStartElements(
      document,
      [&serializer](QStringView localName, const QXmlStreamAttributes& attributes) {
        serializer.startElement(localName, attributes);
      },
      [&serializer](QStringView apparentName) {
        if (apparentName != u"exScore" && apparentName != u"quizScore") serializer.m_exercise = -1;
      });
}

bool TelemetryXMLSerializer::IsNewerVersion(const QByteArray& document) {
  std::optional<QString> version;
  XmlFile::SalvageStartElements(
      document, [&version](QStringView localName, const QXmlStreamAttributes& attributes) {
        if (!version && localName == u"telemetry")
          version = attributes.value(QLatin1String("version")).toString();
      });
  // Only a plain version number counts: damaged text is damage, not a newer format.
  return version && XmlFile::CompareVersion(*version, FormatVersion) == XmlFile::VersionAge::Newer;
}

// 0 when absent or not a number; a number beyond an int's range reads as the nearest it holds.
int TelemetryXMLSerializer::IntValue(const QXmlStreamAttributes& attributes, const char* name) {
  const QStringView text = attributes.value(QLatin1String(name));
  bool isNumber = false;
  const int value = text.toInt(&isNumber);
  if (isNumber) return value;
  const QStringView digits = text.startsWith(u'-') ? text.mid(1) : text;
  if (digits.isEmpty() ||
      !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
    return 0;
  m_allFit = false;
  return text.startsWith(u'-') ? INT_MIN : INT_MAX;
}

void TelemetryXMLSerializer::startElement(QStringView localName,
                                          const QXmlStreamAttributes& attributes) {
  if (localName == u"telemetry") {
    const QString version = attributes.value(QLatin1String("version")).toString();
    // An older record holds the same attributes: it is read as it is and written anew in this
    // version. Damaged text or a newer version stops the reader.
    if (version != QLatin1String("1.0") && !m_anyVersion &&
        XmlFile::CompareVersion(version, FormatVersion) != XmlFile::VersionAge::Older)
      throw MELVARIN_ERROR(Error::XmlParse, version);
    m_data.appLaunchCount = IntValue(attributes, "appLaunchCount");
    m_data.appTimeAverage = IntValue(attributes, "appTimeAverage");
    // A damaged id must not turn the installation into the null id that every other damaged
    // installation would share: the fresh id stays. The same goes for an unreadable date.
    const QUuid uid = QUuid::fromString(attributes.value(QLatin1String("uid")));
    if (!uid.isNull()) m_data.uid = uid;
    bool dateIsNumber = false;
    const qint64 installDate =
        attributes.value(QLatin1String("installDate")).toLongLong(&dateIsNumber);
    if (dateIsNumber) m_data.installDate = installDate;
  } else if (localName == u"exercise") {
    const int id = IntValue(attributes, "id");
    m_exercise = (id >= 0 && id < TelemetryData::ExerciseCount) ? id : -1;
    if (m_exercise < 0) return;
    m_data.exLaunchCount[id] = IntValue(attributes, "exLaunchCount");
    m_data.quizLaunchCount[id] = IntValue(attributes, "quizLaunchCount");
    m_data.refLaunchCount[id] = IntValue(attributes, "refLaunchCount");
    m_data.settingsLaunchCount[id] = IntValue(attributes, "settingsLaunchCount");
    m_data.exTimeAverage[id] = IntValue(attributes, "exTimeAverage");
    m_data.quizTimeAverage[id] = IntValue(attributes, "quizTimeAverage");
    m_data.refTimeAverage[id] = IntValue(attributes, "refTimeAverage");
    m_data.settingsTimeAverage[id] = IntValue(attributes, "settingsTimeAverage");
    m_data.exScoreAverage[id] = DoubleValue(attributes, "exScoreAverage");
    m_data.quizScoreAverage[id] = DoubleValue(attributes, "quizScoreAverage");
  } else if (localName == u"exScore" || localName == u"quizScore") {
    const int index = IntValue(attributes, "index");
    if (m_exercise < 0 || index < 0 || index >= TelemetryData::ScoreCount) return;
    auto& row = localName == u"exScore" ? m_data.exScore : m_data.quizScore;
    row[m_exercise][index] = DoubleValue(attributes, "value");
  }
}

void TelemetryXMLSerializer::fatalError(const XmlFile::ParseFault& fault) {
  throw MELVARIN_ERROR(Error::XmlParse, QStringLiteral("TelemetryDb XML error %1:%2 : %3")
                                            .arg(fault.line)
                                            .arg(fault.column)
                                            .arg(fault.message));
}

}  // namespace Core
