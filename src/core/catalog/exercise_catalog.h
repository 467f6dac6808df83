#pragma once

// The one place that knows the three trainers: it lists them for the home screen, opens a new
// exercise of a chosen trainer, and owns the stores that outlive single exercises, the statistics
// database and the usage record, both kept in the user's data folder.

#include <QDir>
#include <QString>

#include <memory>
#include <vector>

namespace Core {

class Exercise;
class ExerciseStatistics;
class Telemetry;

struct ExerciseInfo {
  QString Name;
  QString LearnDescription;
  QString QuizDescription;
};

class ExerciseCatalog {
 public:
  // Builds the three entries, then loads the statistics ("stats.xml", "statsLocal.xml") and the
  // usage record ("tstats.xml") from the data folder, creating the folder when it is missing and
  // removing the temporary files that interrupted saves of these three left in it.
  ExerciseCatalog();
  // The usage record goes first (it writes its file), then the statistics database.
  virtual ~ExerciseCatalog();
  ExerciseCatalog(const ExerciseCatalog&) = delete;
  ExerciseCatalog& operator=(const ExerciseCatalog&) = delete;

  // The user's data folder, created with its parents when missing. A folder that cannot be
  // created is not reported here; the file operations in it fail instead.
  static QDir GetDbDir();

  void GetExercises(std::vector<ExerciseInfo>& out) const;
  // `index` 0 to 2.
  void GetExerciseInfo(unsigned long index, ExerciseInfo& out) const;
  // A new trainer object: 0 note trainer, 1 ear trainer, anything else music symbols. It shares
  // the catalog's statistics database and records under `index` as its exercise id.
  std::shared_ptr<Exercise> OpenExercise(unsigned long index);

  std::shared_ptr<ExerciseStatistics> GetExerciseStatistics() const { return m_statistics; }
  std::shared_ptr<Telemetry> GetTelemetry() const { return m_telemetry; }

 private:
  std::vector<ExerciseInfo> m_exercises;
  std::shared_ptr<ExerciseStatistics> m_statistics;
  std::shared_ptr<Telemetry> m_telemetry;
};

}  // namespace Core
