#pragma once

// Owns every setting: the resume record, the general options and two copies of the trainer
// settings, one for lessons (persisted) and one for quizzes (memory only), so a quiz can run at a
// chosen level without touching the learner's own lesson settings.
//
// Writes happen on the GUI thread; the exercise engine reads the trainer settings from other
// threads between those writes, as the screens hand changed settings to a running exercise.

#include <QSettings>

#include <functional>
#include <memory>
#include <vector>

#include "src/core/settings/exercise_settings.h"
#include "src/core/settings/global_settings.h"
#include "src/core/settings/settings_types.h"
#include "src/core/xml_file/storage_problem.h"

namespace Core {

class SettingsManager {
 public:
  // Answers whether a quiz is running; asked at every call that picks a copy.
  using QuizModeProvider = std::function<bool()>;

  // The application's own quiz-mode flag.
  static QuizModeProvider ApplicationQuizMode();

  // Opens the user's store under the organisation and application names Qt reports, then loads
  // the resume record, the general options and the lesson copy (level 1 overlaid by the store,
  // its numbers brought into the ranges the settings screens offer). What a save cut short by a
  // kill left beside the store is removed first. A store file found damaged is kept beside itself
  // ("MelvarinStudio.conf.damaged-<date>-<n>") before any save rewrites it; one far larger than
  // any settings is not read but renamed to such a name. Something other than a file in its
  // place (a named pipe) is not read and never written: the settings then live in memory only.
  explicit SettingsManager(QuizModeProvider isQuizMode = ApplicationQuizMode());
  ~SettingsManager();
  SettingsManager(const SettingsManager&) = delete;
  SettingsManager& operator=(const SettingsManager&) = delete;

  // The saves write the store's file before they return. When it cannot be written, the
  // problem is reported on standard error and in GetStorageStatus(); the values stay pending and
  // go to the file with the next save that can write it.
  void LoadState();
  void SaveState();
  void LoadSettings();
  void SaveSettings();

  // Whether the learner has rated the program. Read from the store's handle, which holds what
  // the file held at the start and what this run has saved; the file is not opened again.
  bool IsRated() const;
  // Notes the rating and saves it at once; with no store file the note lasts for this run.
  void SetRated();

  // The outcome of the last save: QSettings::NoError while the file holds everything saved.
  QSettings::Status GetStorageStatus() const { return m_storageStatus; }
  // What loading found wrong with the store's file, and the last save's failure.
  std::vector<StorageProblem> GetStorageProblems() const;

  // The quiz copy while a quiz runs, else the lesson copy. The reference lives as long as the
  // manager and shows later changes.
  const ExcersisesSettings& GetExcersiseSettings() const;
  // Quiz: replaces the quiz copy only. Learn: replaces the lesson copy and saves the settings
  // (the general options too).
  void SetExcersiseSettings(const ExcersisesSettings& settings);

  // The level the lesson copy's part for `type` equals (also during a quiz), or CustomLevel.
  DifficultyLevelPreset GetDifficultyLevel(ExerciseType type) const;
  // Copies that trainer's part of the level into the copy of the current mode. In learn mode the
  // settings are then saved, so the learner's choice survives a restart; a quiz stores nothing.
  // CustomLevel, any other non-level value and unknown trainers change nothing.
  void SetDifficultyLevel(ExerciseType type, DifficultyLevelPreset level);

  // Read in place and replaced whole by the application shell and the screens.
  VAvaroState state;
  GlobalSettings globalSettings;

 private:
  bool InQuiz() const { return m_isQuizMode && m_isQuizMode(); }
  // Whether the store's file may be handed to Qt to read; what is wrong with it is noted.
  bool StoreFileMayBeRead();
  // Renames a store file too large to be read out of the way; false when it could not.
  bool PutStoreFileAside(qint64 size);
  void WriteStore();
  void NoteLoadProblems();

  ExcersisesSettings m_learnSettings;
  ExcersisesSettings m_quizSettings;
  QString m_storeFile;
  std::unique_ptr<QSettings> m_store;  // null when its file may not be read
  QuizModeProvider m_isQuizMode;
  QSettings::Status m_storageStatus = QSettings::NoError;
  std::vector<StorageProblem> m_loadProblems;
  bool m_rated = false;
};

}  // namespace Core
