#pragma once

// The document of the usage record, as stored in "tstats.xml" and sent by the upload.

#include "src/core/telemetry/telemetry_data.h"
#include "src/core/xml_file/xml_file.h"

class QIODevice;
class QXmlStreamAttributes;

namespace Core {

class TelemetryXMLSerializer {
 public:
  // The whole document of a record.
  static QByteArray WriteXML(const TelemetryData& data);

  // Reads a document over `data`: each element found overwrites the fields it stands for (a
  // missing or unreadable number as 0), except that a missing or malformed uid or install date
  // keeps the value `data` had; fields of elements not found keep theirs. Throws Error 0x623 on a
  // broken document or a version other than "1.0"; the values read before the failure stay.
  static void ReadXML(QIODevice& device, TelemetryData& data);

 private:
  explicit TelemetryXMLSerializer(TelemetryData& data) : m_data(data) {}
  void startElement(QStringView localName, const QXmlStreamAttributes& attributes);
  [[noreturn]] static void fatalError(const XmlFile::ParseFault& fault);

  TelemetryData& m_data;
  int m_exercise = 0;  // id of the last "exercise" element; -1 when it was out of range
};

}  // namespace Core
