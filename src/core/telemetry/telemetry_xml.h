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
  // Returns false when a number did not fit its field; it reads as the nearest it can hold.
  static bool ReadXML(QIODevice& device, TelemetryData& data);

  // For a document ReadXML could not read: reads, as ReadXML would, every element that can still
  // be read on its own, before and after the damage, whatever version the root names. Scores
  // whose "exercise" element is lost are left out rather than given to another exercise.
  static void SalvageXML(const QByteArray& document, TelemetryData& data);

  // Whether the root names a version of the format later than the one this program writes.
  static bool IsNewerVersion(const QByteArray& document);

 private:
  explicit TelemetryXMLSerializer(TelemetryData& data) : m_data(data) {}
  void startElement(QStringView localName, const QXmlStreamAttributes& attributes);
  int IntValue(const QXmlStreamAttributes& attributes, const char* name);
  [[noreturn]] static void fatalError(const XmlFile::ParseFault& fault);

  TelemetryData& m_data;
  int m_exercise = 0;  // id of the last "exercise" element; -1 when it was out of range
  bool m_anyVersion = false;
  bool m_allFit = true;
};

}  // namespace Core
