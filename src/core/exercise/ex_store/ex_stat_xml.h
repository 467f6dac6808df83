#pragma once

// The statistics file format: an "ex_stat" root (version "1.0") holding one empty "entry"
// element per record, in the set's insertion order.

#include "src/core/exercise/ex_store/ex_stat_set.h"
#include "src/core/xml_file/xml_file.h"

#include <optional>

class QIODevice;
class QXmlStreamAttributes;

namespace Core::ExDbDetail {

class XMLSerializer {
 public:
  // The whole document of a set.
  static QByteArray WriteXML(const ExStatSet& set);

  // Empties `set`, then appends one record per "entry" (duplicates are kept, not merged).
  // Throws Error 0x623 on a broken document or a version other than "1.0" (one older than it is
  // read as well when `olderVersions` is set); the records read before the failure stay in the
  // set. Returns false when a number did not fit its field: such a count reads as the largest
  // count, and an entry whose id, exercise or section does not fit is left out.
  static bool ReadXML(QIODevice& device, ExStatSet& set, bool olderVersions = false);

  // For a document ReadXML could not read: empties `set`, then appends every entry that can still
  // be read on its own, before and after the damage, whatever version the root names. Numbers
  // that do not fit are taken as ReadXML takes them.
  static void SalvageXML(const QByteArray& document, ExStatSet& set);

  // Whether the root names a version of the format later than the one this program writes.
  static bool IsNewerVersion(const QByteArray& document);

 private:
  XMLSerializer(ExStatSet& set, bool olderVersions) : m_set(set), m_olderVersions(olderVersions) {}
  void startElement(QStringView localName, const QXmlStreamAttributes& attributes);
  void AppendEntry(const QXmlStreamAttributes& attributes);
  [[noreturn]] static void fatalError(const XmlFile::ParseFault& fault);

  ExStatSet& m_set;
  bool m_olderVersions;
  bool m_allFit = true;
};

}  // namespace Core::ExDbDetail
