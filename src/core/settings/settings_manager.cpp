#include "src/core/settings/settings_manager.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>

#include <cstdio>

#include "src/core/settings/difficulty_presets.h"
#include "src/core/settings/quiz_mode.h"
#include "src/core/settings/settings_store.h"

namespace Core {

namespace {

std::unique_ptr<QSettings> OpenUserStore() {
  return std::make_unique<QSettings>(QSettings::UserScope, QCoreApplication::organizationName(),
                                     QCoreApplication::applicationName());
}

// Qt guards each write of the store's file with a lock file beside it. A kill while Qt creates
// that file leaves it empty or cut short, and Qt then takes it for the lock of a live writer
// until it is half a minute old: the first save would block the GUI thread that long. A lock
// file that names no owner is removed; Qt's removal leaves a lock alone that a process holds.
void RemoveOwnerlessLockFile(const QString& storeFile) {
  const QString lockPath = storeFile + QStringLiteral(".lock");
  if (!QFileInfo::exists(lockPath)) return;
  QLockFile lock(lockPath);
  qint64 pid = 0;
  QString hostName;
  QString appName;
  if (!lock.getLockInfo(&pid, &hostName, &appName)) lock.removeStaleLockFile();
}

const char* Describe(QSettings::Status status) {
  return status == QSettings::FormatError ? "it is damaged" : "it cannot be written";
}

}  // namespace

SettingsManager::QuizModeProvider SettingsManager::ApplicationQuizMode() {
  return [] { return IsQuizMode(); };
}

SettingsManager::SettingsManager(QuizModeProvider isQuizMode)
    : m_store(OpenUserStore()), m_isQuizMode(std::move(isQuizMode)) {
  RemoveOwnerlessLockFile(m_store->fileName());
  initExcersiceSettings();
  m_learnSettings = DifficultyPreset(Level1);
  LoadState();
  LoadSettings();
}

// Deleting the store writes whatever is still pending.
SettingsManager::~SettingsManager() = default;

void SettingsManager::WriteStore() {
  m_store->sync();
  if (m_store->status() != QSettings::NoError) {
    // A store keeps its first error for good, so a file that was damaged when it was read would
    // make every later save look failed, and hide a real failure. A fresh handle on the same file
    // starts with its own status; opened while the old handle is still alive, it shares the
    // changes the old one could not write and tries them once more.
    std::unique_ptr<QSettings> fresh = OpenUserStore();
    m_store.swap(fresh);
  }
  m_storageStatus = m_store->status();
  if (m_storageStatus != QSettings::NoError)
    std::fprintf(stderr, "Could not save the settings to \"%s\": %s. They are kept in memory.\n",
                 qPrintable(m_store->fileName()), Describe(m_storageStatus));
}

void SettingsManager::LoadState() {
  if (m_store) LoadResumeState(*m_store, state);
}

void SettingsManager::SaveState() {
  if (!m_store) return;
  SaveResumeState(*m_store, state);
  WriteStore();
}

void SettingsManager::LoadSettings() {
  if (m_store) Core::LoadSettings(*m_store, globalSettings, m_learnSettings);
}

void SettingsManager::SaveSettings() {
  if (!m_store) return;
  Core::SaveSettings(*m_store, globalSettings, m_learnSettings);
  WriteStore();
}

const ExcersisesSettings& SettingsManager::GetExcersiseSettings() const {
  return InQuiz() ? m_quizSettings : m_learnSettings;
}

void SettingsManager::SetExcersiseSettings(const ExcersisesSettings& settings) {
  if (InQuiz()) {
    m_quizSettings = settings;
    return;
  }
  m_learnSettings = settings;
  SaveSettings();
}

DifficultyLevelPreset SettingsManager::GetDifficultyLevel(ExerciseType type) const {
  return MatchDifficultyLevel(m_learnSettings, type);
}

void SettingsManager::SetDifficultyLevel(ExerciseType type, DifficultyLevelPreset level) {
  if (InQuiz()) {
    ApplyDifficultyLevel(m_quizSettings, type, level);
    return;
  }
  if (ApplyDifficultyLevel(m_learnSettings, type, level)) SaveSettings();
}

}  // namespace Core
