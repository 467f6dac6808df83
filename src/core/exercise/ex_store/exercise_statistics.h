#pragma once

// Per question, how often the learner answered it right and wrong: the total set holds every
// answer ever given ("stats.xml"), the local set the answers of the current lesson
// ("statsLocal.xml"). Each judged answer goes to both. Answers arrive on the MIDI input, timer
// and GUI threads while the screens query and the exercises save, so every public operation
// takes the database's lock; in the program's lock order it comes after the exercise's lock.

#include "src/core/exercise/ex_store/ex_stat_set.h"
#include "src/core/midi/error.h"

#include <QMutex>
#include <QString>

#include <vector>

namespace Core {

class ExerciseStatistics {
 public:
  // Loads both files. A missing or broken file is rewritten from what could be read; a file
  // that exists but cannot be read is left alone. When a file cannot be written the problem is
  // reported on standard error and in GetStorageError(), and the statistics live on in memory.
  ExerciseStatistics(const QString& totalPath, const QString& localPath);
  virtual ~ExerciseStatistics();  // writes nothing
  ExerciseStatistics(const ExerciseStatistics&) = delete;
  ExerciseStatistics& operator=(const ExerciseStatistics&) = delete;

  // Reads the local file again (when it cannot be opened, the local set stays as it is).
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

  // Writes the total set, then the local set. Throws Error 0x624 when a file cannot be written;
  // the file on disk is then unchanged.
  void Save();

  // The first failure to read or write a statistics file that the database recovered from by
  // keeping the statistics in memory; empty while the files are fine.
  Error GetStorageError() const;

 private:
  void Load();
  void WriteRecovered(const ExStatSet& set, const QString& path);
  void Report(const Error& error, const char* what, const QString& path);
  static void AddEntry(ExStatSet& set, const ExStat& e);
  static void Save(const ExStatSet& set, const QString& path);

  mutable QMutex m_mutex;
  QString m_totalPath;
  QString m_localPath;
  ExStatSet m_total;
  ExStatSet m_local;
  Error m_storageError;
};

}  // namespace Core
