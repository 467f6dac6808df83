#include "src/core/exercise/ex_store/exercise_statistics.h"

#include "src/core/exercise/ex_store/ex_stat_xml.h"
#include "src/core/xml_file/xml_file.h"

#include <QBuffer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

namespace Core {

namespace {

template <std::size_t Index, class Key>
void AppendMatches(ExStatSet& set, const Key& key, std::vector<ExStat>& out) {
  const auto [first, last] = set.Range<Index>(key);
  for (auto position = first; position != last; ++position) out.push_back(set.Records()[*position]);
}

void EraseExercise(ExStatSet& set, int exId) {
  set.EraseIf([exId](const ExStat& record) { return record.ExerciseId == exId; });
}

// Records of one question, exercise and section become one that holds their added counts, as
// answers given in this program always are; a file may hold them repeated. Each stands where the
// first of them stood.
void MergeRepeatedRecords(ExStatSet& set) {
  std::vector<ExStat> merged;
  std::map<std::tuple<int, int, int>, std::size_t> positions;
  for (const ExStat& record : set.Records()) {
    const auto [at, added] = positions.try_emplace(
        std::tuple(record.Id, record.ExerciseId, record.SectionIndex), merged.size());
    if (added) {
      merged.push_back(record);
      continue;
    }
    ExStat& first = merged[at->second];
    first.Correct = AddCounts(first.Correct, record.Correct);
    first.Wrong = AddCounts(first.Wrong, record.Wrong);
  }
  if (merged.size() == set.Records().size()) return;
  set.Clear();
  for (const ExStat& record : merged) set.Append(record);
}

}  // namespace

ExerciseStatistics::ExerciseStatistics(const QString& totalPath, const QString& localPath)
    : m_total(totalPath, StorageProblem::Statistics),
      m_local(localPath, StorageProblem::LessonStatistics) {
  QMutexLocker lock(&m_mutex);
  Load();
}

ExerciseStatistics::~ExerciseStatistics() = default;

void ExerciseStatistics::Load() {
  // Each file is read, and rewritten if need be, on its own: what happens to one never costs the
  // other its stored records.
  Load(m_total);
  Load(m_local);
}

void ExerciseStatistics::Load(StoredFile& file) {
  const XmlFile::WholeFile found = XmlFile::ReadWholeFile(file.path, MaxFileBytes);
  switch (found.outcome) {
    case XmlFile::WholeFile::Read:
      NoteSize(file, found.bytes.size());
      Read(file, found.bytes);
      return;
    case XmlFile::WholeFile::Missing:
      WriteRecovered(file);  // first run: create it
      return;
    case XmlFile::WholeFile::TooLarge:
      PutAside(file, found.size);
      return;
    case XmlFile::WholeFile::NotAFile:
    case XmlFile::WholeFile::Failed:
      // Its records are not in memory: writing it in this run would throw them away.
      file.leftAlone =
          QStringLiteral("it could not be read when the program started (%1)").arg(found.error);
      Report(MELVARIN_ERROR(Error::XmlLoad, found.error), "read", file.path);
      AddProblem(Problem(file, StorageProblem::Unreadable, found.error));
      return;
  }
}

void ExerciseStatistics::PutAside(StoredFile& file, qint64 size) {
  const XmlFile::KeptCopy aside = XmlFile::MoveAside(file.path, QStringLiteral("damaged"));
  AddProblem(Problem(file, StorageProblem::TooLarge, aside.error, aside.path));
  if (aside.path.isEmpty()) {
    file.leftAlone = QStringLiteral("it is too large to be read, and could not be put aside (%1)")
                         .arg(aside.error);
    std::fprintf(stderr,
                 "The statistics file \"%s\" holds %lld bytes, far more than any statistics, and "
                 "could not be put aside (%s); it is not read and left as it is.\n",
                 qPrintable(file.path), static_cast<long long>(size), qPrintable(aside.error));
    return;
  }
  std::fprintf(stderr,
               "The statistics file \"%s\" holds %lld bytes, far more than any statistics; it is "
               "not read, kept as \"%s\", and a new one is started.\n",
               qPrintable(file.path), static_cast<long long>(size), qPrintable(aside.path));
  WriteRecovered(file);
}

void ExerciseStatistics::Read(StoredFile& file, const QByteArray& found) {
  QBuffer buffer;
  buffer.setData(found);
  buffer.open(QIODevice::ReadOnly);
  try {
    // A file of an older version holds the same records: it is read as it is, and written in the
    // current version with the next save.
    if (ExDbDetail::XMLSerializer::ReadXML(buffer, file.set, true)) return;
    Recover(file, found, false);  // the records are read, but some numbers did not fit
  } catch (const Error&) {
    // The reader stops at the damage; every record beyond it that is still whole is taken too.
    ExDbDetail::XMLSerializer::SalvageXML(found, file.set);
    Recover(file, found, ExDbDetail::XMLSerializer::IsNewerVersion(found));
  }
}

void ExerciseStatistics::Recover(StoredFile& file, const QByteArray& found, bool newer) {
  const XmlFile::KeptCopy copy =
      XmlFile::KeepCopy(file.path, found, QLatin1String(newer ? "newer-version" : "damaged"));
  if (newer) {
    // Its format is not ours to rewrite: it is used from memory and left as it is.
    file.leftAlone = QStringLiteral("it was made by a newer version of the program");
    std::fprintf(stderr,
                 "The statistics file \"%s\" was made by a newer version; it is used from memory "
                 "and left as it is.\n",
                 qPrintable(file.path));
    AddProblem(Problem(file, StorageProblem::NewerVersion, copy.error, copy.path));
    return;
  }
  AddProblem(Problem(file, StorageProblem::Damaged, copy.error, copy.path));
  if (copy.path.isEmpty()) {
    // Not replaced while the damaged file exists nowhere else.
    file.unkeptOriginal = found;
    std::fprintf(stderr,
                 "The statistics file \"%s\" is damaged and no copy of it could be kept (%s); "
                 "what could be read is used and the file is left as it is.\n",
                 qPrintable(file.path), qPrintable(copy.error));
    return;
  }
  std::fprintf(stderr,
               "The statistics file \"%s\" was damaged; what could be read is used and the file "
               "as found is kept as \"%s\".\n",
               qPrintable(file.path), qPrintable(copy.path));
  WriteRecovered(file);
}

void ExerciseStatistics::LoadLocal() {
  QMutexLocker lock(&m_mutex);
  const XmlFile::WholeFile found = XmlFile::ReadWholeFile(m_local.path, MaxFileBytes);
  if (found.outcome != XmlFile::WholeFile::Read && found.outcome != XmlFile::WholeFile::TooLarge)
    return;
  // Read (or put aside) now, the file may be written again.
  m_local.leftAlone.clear();
  m_local.unkeptOriginal.clear();
  if (found.outcome == XmlFile::WholeFile::Read) {
    Read(m_local, found.bytes);
  } else {
    m_local.set.Clear();  // none of its records can be the lesson's
    PutAside(m_local, found.size);
  }
}

void ExerciseStatistics::AddEntry(const ExStat& e) {
  // One set at a time, never both locked at once.
  {
    QMutexLocker lock(&m_mutex);
    AddEntry(m_local.set, e);
  }
  QMutexLocker lock(&m_mutex);
  AddEntry(m_total.set, e);
}

void ExerciseStatistics::AddEntry(ExStatSet& set, const ExStat& e) {
  const auto [first, last] =
      set.Range<ExStatIndex::ByExerciseAndSection>({e.ExerciseId, e.SectionIndex});
  for (auto position = first; position != last; ++position) {
    ExStat& record = set.At(*position);
    if (record.Id == e.Id) {
      record.Correct = AddCounts(record.Correct, e.Correct);
      record.Wrong = AddCounts(record.Wrong, e.Wrong);
      return;
    }
  }
  set.Append(e);
}

void ExerciseStatistics::GetTotalSummary(int exId, int section, std::vector<ExStat>& out) {
  QMutexLocker lock(&m_mutex);
  AppendMatches<ExStatIndex::ByExerciseAndSection>(m_total.set, std::pair(exId, section), out);
}

void ExerciseStatistics::GetLocalSummary(int exId, int section, std::vector<ExStat>& out) {
  QMutexLocker lock(&m_mutex);
  AppendMatches<ExStatIndex::ByExerciseAndSection>(m_local.set, std::pair(exId, section), out);
}

void ExerciseStatistics::GetTotalSummary(int exId, std::vector<ExStat>& out) {
  QMutexLocker lock(&m_mutex);
  AppendMatches<ExStatIndex::ByExercise>(m_total.set, exId, out);
}

void ExerciseStatistics::GetLocalSummary(int exId, std::vector<ExStat>& out) {
  QMutexLocker lock(&m_mutex);
  AppendMatches<ExStatIndex::ByExercise>(m_local.set, exId, out);
}

void ExerciseStatistics::ClearTotal(int exId) {
  QMutexLocker lock(&m_mutex);
  // The history goes only once the file without it is written: after a failed clear the learner
  // still sees it, so a later save must not drop it behind their back.
  ExStatSet kept = m_total.set;
  EraseExercise(kept, exId);
  Write(m_total, kept);
  m_total.set = std::move(kept);
}

void ExerciseStatistics::ClearLocal(int exId) {
  QMutexLocker lock(&m_mutex);
  EraseExercise(m_local.set, exId);
  Write(m_local, m_local.set);
}

void ExerciseStatistics::Save() {
  QMutexLocker lock(&m_mutex);
  m_lastSaveProblems.clear();
  Error first;
  // Each file on its own: the lesson's answers reach the file that can take them.
  for (StoredFile* file : {&m_total, &m_local}) {
    try {
      Write(*file, file->set);
    } catch (const Error& error) {
      if (first.IsEmpty()) first = error;
      m_lastSaveProblems.push_back(Problem(*file, StorageProblem::Unwritable, error.GetMessage()));
    }
  }
  if (!first.IsEmpty()) throw first;
}

Error ExerciseStatistics::GetStorageError() const {
  QMutexLocker lock(&m_mutex);
  return m_storageError;
}

std::vector<StorageProblem> ExerciseStatistics::GetStorageProblems() const {
  QMutexLocker lock(&m_mutex);
  return m_problems;
}

std::vector<StorageProblem> ExerciseStatistics::GetLastSaveProblems() const {
  QMutexLocker lock(&m_mutex);
  return m_lastSaveProblems;
}

qint64 ExerciseStatistics::Save(ExStatSet& set, const QString& path) {
  QByteArray document = ExDbDetail::XMLSerializer::WriteXML(set);
  if (document.size() > MaxSaveBytes) {
    MergeRepeatedRecords(set);
    document = ExDbDetail::XMLSerializer::WriteXML(set);
  }
  // Never more than the next start reads: the file as it is stays readable.
  if (document.size() > MaxSaveBytes)
    throw MELVARIN_ERROR(Error::XmlSave,
                         QStringLiteral("the statistics have outgrown the largest file that can "
                                        "be read again, so the file keeps what it held"));
  // The file is replaced whole: a crash or a full disk leaves the previous one intact.
  if (const std::optional<QString> failure = XmlFile::ReplaceFile(path, document))
    throw MELVARIN_ERROR(Error::XmlSave, *failure);
  return document.size();
}

void ExerciseStatistics::NoteSize(StoredFile& file, qint64 size) {
  if (size < NearlyFullBytes || file.toldNearlyFull) return;
  file.toldNearlyFull = true;
  const QString reason = QStringLiteral("%1 MB of at most %2 MB")
                             .arg(double(size) / double(1 << 20), 0, 'f', 1)
                             .arg(MaxFileBytes >> 20);
  std::fprintf(stderr, "The statistics file \"%s\" nears its largest size: %s.\n",
               qPrintable(file.path), qPrintable(reason));
  AddProblem(Problem(file, StorageProblem::NearlyFull, reason));
}

void ExerciseStatistics::Write(StoredFile& file, ExStatSet& set) {
  if (!file.leftAlone.isEmpty()) throw MELVARIN_ERROR(Error::XmlSave, file.leftAlone);
  if (!file.unkeptOriginal.isEmpty()) {
    const XmlFile::KeptCopy copy =
        XmlFile::KeepCopy(file.path, file.unkeptOriginal, QStringLiteral("damaged"));
    if (copy.path.isEmpty())
      throw MELVARIN_ERROR(
          Error::XmlSave,
          QStringLiteral("no copy of the damaged file could be kept (%1)").arg(copy.error));
    file.unkeptOriginal.clear();
  }
  NoteSize(file, Save(set, file.path));
}

void ExerciseStatistics::WriteRecovered(StoredFile& file) {
  try {
    Write(file, file.set);
  } catch (const Error& error) {
    Report(error, "write", file.path);
    AddProblem(Problem(file, StorageProblem::Unwritable, error.GetMessage()));
  }
}

void ExerciseStatistics::Report(const Error& error, const char* what, const QString& path) {
  std::fprintf(stderr,
               "Could not %s the statistics file \"%s\": %s. The statistics are kept in memory.\n",
               what, qPrintable(path), qPrintable(error.GetMessage()));
  if (m_storageError.IsEmpty()) m_storageError = error;
}

void ExerciseStatistics::AddProblem(const StorageProblem& problem) {
  // A file read again (the lesson's, when a lesson is resumed) meets what was found at the start
  // once more: the learner is told each problem once.
  if (std::find(m_problems.begin(), m_problems.end(), problem) == m_problems.end())
    m_problems.push_back(problem);
}

StorageProblem ExerciseStatistics::Problem(const StoredFile& file, StorageProblem::Kind kind,
                                           const QString& reason, const QString& keptCopy) const {
  return {kind, file.content, file.path, reason, keptCopy};
}

}  // namespace Core
