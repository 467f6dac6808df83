#pragma once

// The statistics file format: an "ex_stat" root (version "1.0") holding one empty "entry"
// element per record, in the set's insertion order.

#include "src/core/exercise/ex_store/ex_stat_set.h"
#include "src/core/xml_file/xml_file.h"

class QIODevice;
class QXmlStreamAttributes;

namespace Core::ExDbDetail {

class XMLSerializer {
 public:
  // The whole document of a set.
  static QByteArray WriteXML(const ExStatSet& set);

  // Empties `set`, then appends one record per "entry" (duplicates are kept, not merged).
  // Throws Error 0x623 on a broken document or a version other than "1.0"; the records read
  // before the failure stay in the set.
  static void ReadXML(QIODevice& device, ExStatSet& set);

 private:
  explicit XMLSerializer(ExStatSet& set) : m_set(set) {}
  void startElement(QStringView localName, const QXmlStreamAttributes& attributes);
  [[noreturn]] static void fatalError(const XmlFile::ParseFault& fault);

  ExStatSet& m_set;
};

}  // namespace Core::ExDbDetail
