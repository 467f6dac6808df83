#include "src/core/exercise/ex_store/exercise_statistics.h"

#include "src/core/exercise/ex_store/ex_stat_xml.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <cstdio>

namespace Core {

namespace {

template <std::size_t Index, class Key>
void AppendMatches(ExStatSet& set, const Key& key, std::vector<ExStat>& out) {
  const auto [first, last] = set.Range<Index>(key);
  for (auto position = first; position != last; ++position) out.push_back(set.Records()[*position]);
}

// Counts read from a file may already sit at the top of the range; they stay there.
int AddCounts(int count, int more) {
  const long long sum = static_cast<long long>(count) + more;
  return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

void EraseExercise(ExStatSet& set, int exId) {
  set.EraseIf([exId](const ExStat& record) { return record.ExerciseId == exId; });
}

}  // namespace

ExerciseStatistics::ExerciseStatistics(const QString& totalPath, const QString& localPath)
    : m_totalPath(totalPath), m_localPath(localPath) {
  QMutexLocker lock(&m_mutex);
  Load();
}

ExerciseStatistics::~ExerciseStatistics() = default;

void ExerciseStatistics::Load() {
  struct File {
    ExStatSet& set;
    const QString& path;
    bool rewrite = false;
  };
  File files[] = {{m_total, m_totalPath}, {m_local, m_localPath}};
  // Both files are read before anything is written, so a failure in one never costs the other
  // its stored records.
  for (File& f : files) {
    QFile file(f.path);
    if (!file.open(QIODevice::ReadOnly)) {
      if (file.exists()) {
        // Its records are not in memory: rewriting it now would throw them away.
        Report(MELVARIN_ERROR(Error::XmlLoad, file.errorString()), "read", f.path);
      } else {
        f.rewrite = true;  // first run: create it
      }
      continue;
    }
    try {
      ExDbDetail::XMLSerializer::ReadXML(file, f.set);
    } catch (const Error&) {
      f.rewrite = true;  // broken: keep what was read before the damage and store that
    }
  }
  for (const File& f : files)
    if (f.rewrite) WriteRecovered(f.set, f.path);
}

void ExerciseStatistics::LoadLocal() {
  QMutexLocker lock(&m_mutex);
  QFile file(m_localPath);
  if (!file.open(QIODevice::ReadOnly)) return;
  try {
    ExDbDetail::XMLSerializer::ReadXML(file, m_local);
  } catch (const Error&) {
    file.close();
    WriteRecovered(m_local, m_localPath);
  }
}

void ExerciseStatistics::AddEntry(const ExStat& e) {
  // One set at a time, never both locked at once.
  {
    QMutexLocker lock(&m_mutex);
    AddEntry(m_local, e);
  }
  QMutexLocker lock(&m_mutex);
  AddEntry(m_total, e);
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
  AppendMatches<ExStatIndex::ByExerciseAndSection>(m_total, std::pair(exId, section), out);
}

void ExerciseStatistics::GetLocalSummary(int exId, int section, std::vector<ExStat>& out) {
  QMutexLocker lock(&m_mutex);
  AppendMatches<ExStatIndex::ByExerciseAndSection>(m_local, std::pair(exId, section), out);
}

void ExerciseStatistics::GetTotalSummary(int exId, std::vector<ExStat>& out) {
  QMutexLocker lock(&m_mutex);
  AppendMatches<ExStatIndex::ByExercise>(m_total, exId, out);
}

void ExerciseStatistics::GetLocalSummary(int exId, std::vector<ExStat>& out) {
  QMutexLocker lock(&m_mutex);
  AppendMatches<ExStatIndex::ByExercise>(m_local, exId, out);
}

void ExerciseStatistics::ClearTotal(int exId) {
  QMutexLocker lock(&m_mutex);
  // The history goes only once the file without it is written: after a failed clear the learner
  // still sees it, so a later save must not drop it behind their back.
  ExStatSet kept = m_total;
  EraseExercise(kept, exId);
  Save(kept, m_totalPath);
  m_total = std::move(kept);
}

void ExerciseStatistics::ClearLocal(int exId) {
  QMutexLocker lock(&m_mutex);
  EraseExercise(m_local, exId);
  Save(m_local, m_localPath);
}

void ExerciseStatistics::Save() {
  QMutexLocker lock(&m_mutex);
  Save(m_total, m_totalPath);
  Save(m_local, m_localPath);
}

Error ExerciseStatistics::GetStorageError() const {
  QMutexLocker lock(&m_mutex);
  return m_storageError;
}

void ExerciseStatistics::Save(const ExStatSet& set, const QString& path) {
  // The file is replaced whole: a crash or a full disk leaves the previous one intact.
  if (const std::optional<QString> failure =
          XmlFile::ReplaceFile(path, ExDbDetail::XMLSerializer::WriteXML(set)))
    throw MELVARIN_ERROR(Error::XmlSave, *failure);
}

void ExerciseStatistics::WriteRecovered(const ExStatSet& set, const QString& path) {
  try {
    Save(set, path);
  } catch (const Error& error) {
    Report(error, "write", path);
  }
}

void ExerciseStatistics::Report(const Error& error, const char* what, const QString& path) {
  std::fprintf(stderr,
               "Could not %s the statistics file \"%s\": %s. The statistics are kept in memory.\n",
               what, qPrintable(path), qPrintable(error.GetMessage()));
  if (m_storageError.IsEmpty()) m_storageError = error;
}

}  // namespace Core
