#pragma once

// Per question, how often the learner answered it right and wrong: the total set holds every
// answer ever given ("stats.xml"), the local set the answers of the current lesson
// ("statsLocal.xml"). Each judged answer goes to both. Answers arrive on the MIDI input, timer
// and GUI threads while the screens query and the exercises save, so every public operation
// takes the database's lock; in the program's lock order it comes after the exercise's lock.

#include "src/core/exercise/ex_store/ex_stat_set.h"
#include "src/core/midi/error.h"
#include "src/core/xml_file/storage_problem.h"

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <vector>

namespace Core {

class ExerciseStatistics {
 public:
  // The largest statistics file that is read. A file holds one record per question of each
  // section of each trainer: the chords (4099) and intervals (1066) of the note and ear trainers,
  // the single notes (88) of both, the ear trainer's scales (760), the tempo pieces (448) of the
  // ear and music-symbols trainers and the 64 other symbols make 12,226 records of at most 90
  // bytes each, 1.1 MB. Sixteen times that is no learner's history.
  static constexpr qint64 MaxFileBytes = qint64(16) << 20;
  // The largest file a save writes: a mebibyte short of what is read, so that whatever is written
  // is read at the next start, also once laid out more widely (an editor, an older version).
  // Records repeated for one question, exercise and section are merged when the file would be
  // larger; when it still would be, the file is not replaced and keeps what it held, readable,
  // while the answers live on in memory (and the lesson's in its own file).
  static constexpr qint64 MaxSaveBytes = MaxFileBytes - (qint64(1) << 20);
  // From this size on the learner is told, once per run, that the history nears the bound.
  static constexpr qint64 NearlyFullBytes = MaxFileBytes / 4 * 3;

  // Loads both files. A missing file is created. A damaged one is kept beside itself as found
  // ("stats.xml.damaged-<date>-<n>"), every record that can still be read is taken from it, and
  // it is rewritten with them; one far larger than any statistics is not read but renamed to such
  // a name, and started anew. A file of an older version is read as it is. A file of a newer
  // version, or one that exists but cannot be read (also a named pipe or a folder in its place),
  // is never written in this run: the statistics it holds (if any could be read) live in memory.
  // Each of these but the older version is reported on standard error and in
  // GetStorageProblems().
  ExerciseStatistics(const QString& totalPath, const QString& localPath);
  virtual ~ExerciseStatistics();  // writes nothing
  ExerciseStatistics(const ExerciseStatistics&) = delete;
  ExerciseStatistics& operator=(const ExerciseStatistics&) = delete;

  // Reads the local file again (when it cannot be opened, the local set stays as it is); a
  // damaged one is recovered as at construction.
  void LoadLocal();

  // Adds the record's counts to the record of the same question, exercise and section in each
  // set, or appends it to a set that has none.
  void AddEntry(const ExStat& e);

  // Append (without clearing `out`) every record of one exercise, or of one section of it;
  // the order of the appended records is not defined.
  void GetTotalSummary(int exId, int section, std::vector<ExStat>& out);
  void GetLocalSummary(int exId, int section, std::vector<ExStat>& out);
  void GetTotalSummary(int exId, std::vector<ExStat>& out);
  void GetLocalSummary(int exId, std::vector<ExStat>& out);

  // Erase every record of one exercise from a set, then write that set's file (also when
  // nothing was erased). Throws Error 0x624 when the file cannot be written.
  void ClearTotal(int exId);
  void ClearLocal(int exId);

  // Writes the total set, then the local set, each on its own: a file that cannot be written
  // keeps its previous content and does not stop the other. Throws Error 0x624 for the first file
  // that could not be written, once both were tried; GetLastSaveProblems() names them all.
  void Save();

  // The first failure to read or write a statistics file that the database recovered from by
  // keeping the statistics in memory; empty while the files are fine.
  Error GetStorageError() const;
  // What loading the files found wrong with them (also a later LoadLocal()).
  std::vector<StorageProblem> GetStorageProblems() const;
  // The files the last Save() could not write; empty when it wrote both.
  std::vector<StorageProblem> GetLastSaveProblems() const;

 private:
  struct StoredFile {
    StoredFile(const QString& path, StorageProblem::Content content)
        : path(path), content(content) {}
    QString path;
    StorageProblem::Content content;
    ExStatSet set;
    // Why the file is left as it is for this run (newer version, unreadable); empty when it is not.
    QString leftAlone;
    // The file as found damaged, while no copy of it could be kept: it is not replaced before.
    QByteArray unkeptOriginal;
    bool toldNearlyFull = false;
  };

  void Load();
  void Load(StoredFile& file);
  // Renames a file too large to be read out of the way and starts it anew.
  void PutAside(StoredFile& file, qint64 size);
  void Read(StoredFile& file, const QByteArray& found);
  void Recover(StoredFile& file, const QByteArray& found, bool newer);
  // Writes `set` as the file's content, after keeping a copy of the damaged original if that is
  // still owed. Throws Error 0x624 when it cannot.
  void Write(StoredFile& file, ExStatSet& set);
  // Tells once that the file, at `size` bytes, nears the largest one that is read.
  void NoteSize(StoredFile& file, qint64 size);
  void WriteRecovered(StoredFile& file);
  void Report(const Error& error, const char* what, const QString& path);
  // Adds `problem` to GetStorageProblems() unless it is there already.
  void AddProblem(const StorageProblem& problem);
  StorageProblem Problem(const StoredFile& file, StorageProblem::Kind kind,
                         const QString& reason = {}, const QString& keptCopy = {}) const;
  static void AddEntry(ExStatSet& set, const ExStat& e);
  // Writes the set whole to the file and returns the file's size; throws Error 0x624 when it
  // cannot, also when the set would not fit in MaxSaveBytes.
  static qint64 Save(ExStatSet& set, const QString& path);

  mutable QMutex m_mutex;
  StoredFile m_total;
  StoredFile m_local;
  Error m_storageError;
  std::vector<StorageProblem> m_problems;
  std::vector<StorageProblem> m_lastSaveProblems;
};

}  // namespace Core
