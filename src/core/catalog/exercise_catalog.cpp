#include "src/core/catalog/exercise_catalog.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include "src/common/assertion.h"
#include "src/core/exercise/ear_trainer.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/exercise/note_trainer.h"
#include "src/core/exercise/symbol_trainer.h"
#include "src/core/telemetry/telemetry.h"
#include "src/core/xml_file/xml_file.h"

namespace Core {

namespace {

QString tr(const char* text) {
  return QCoreApplication::translate("Core::ExerciseCatalog", text);
}

}  // namespace

ExerciseCatalog::ExerciseCatalog() {
  m_exercises = {
      {tr("Note Trainer"), tr("Learn reading notes"), tr("Quiz yourself on reading notes")},
      {tr("Ear Trainer"), tr("Learn recognizing notes by ear"),
       tr("Quiz yourself on recognizing notes by ear")},
      {tr("Music Symbols"), tr("Learn various music symbols"),
       tr("Quiz yourself on music symbols")},
  };
  const QDir folder = GetDbDir();
  // Saves cut short by a kill may have left their temporary files beside ours.
  for (const char* name : {"stats.xml", "statsLocal.xml", "tstats.xml"})
    XmlFile::RemoveLeftovers(folder.absoluteFilePath(name));
  m_statistics = std::make_shared<ExerciseStatistics>(folder.absoluteFilePath("stats.xml"),
                                                      folder.absoluteFilePath("statsLocal.xml"));
  m_telemetry = std::make_shared<Telemetry>(folder.absoluteFilePath("tstats.xml"));
}

ExerciseCatalog::~ExerciseCatalog() {
  m_telemetry.reset();
  m_statistics.reset();
}

QDir ExerciseCatalog::GetDbDir() {
  QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  if (!folder.exists()) QDir::root().mkpath(folder.absolutePath());
  return folder;
}

void ExerciseCatalog::GetExercises(std::vector<ExerciseInfo>& out) const {
  out = m_exercises;
}

void ExerciseCatalog::GetExerciseInfo(unsigned long index, ExerciseInfo& out) const {
  MELVARIN_ASSERT(index < m_exercises.size());
  out = m_exercises[index];
}

std::shared_ptr<Exercise> ExerciseCatalog::OpenExercise(unsigned long index) {
  std::shared_ptr<Exercise> exercise;
  if (index == 0)
    exercise = std::make_shared<ExerciseNoteTrainer>();
  else if (index == 1)
    exercise = std::make_shared<ExerciseEarTrainer>();
  else
    exercise = std::make_shared<ExerciseSymbolTrainer>();
  exercise->SetStatistics(m_statistics, static_cast<int>(index));
  return exercise;
}

}  // namespace Core
