#pragma once

// The statistics file format: an "ex_stat" root (version "1.0") holding one empty "entry"
// element per record, in the set's insertion order.

#include "src/core/exercise/ex_store/ex_stat_set.h"

#include <QStringView>

class QIODevice;
class QXmlStreamAttributes;
class QXmlStreamReader;

namespace Core::ExDbDetail {

class XMLSerializer {
 public:
  // Writes the whole document into a device opened for writing.
  static void WriteXML(const ExStatSet& set, QIODevice& device);
  static QByteArray ToXML(const ExStatSet& set);

  // Empties `set`, then appends one record per "entry" (duplicates are kept, not merged).
  // Throws Error 0x623 on a broken document or a version other than "1.0"; the records read
  // before the failure stay in the set.
  static void ReadXML(QIODevice& device, ExStatSet& set);

 private:
  explicit XMLSerializer(ExStatSet& set) : m_set(set) {}
  void startElement(QStringView localName, const QXmlStreamAttributes& attributes);
  [[noreturn]] void fatalError(const QXmlStreamReader& reader);

  ExStatSet& m_set;
};

}  // namespace Core::ExDbDetail
