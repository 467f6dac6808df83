#include "src/core/settings/settings_manager.h"

#include <QCoreApplication>

#include "src/core/settings/difficulty_presets.h"
#include "src/core/settings/quiz_mode.h"
#include "src/core/settings/settings_store.h"

namespace Core {

SettingsManager::QuizModeProvider SettingsManager::ApplicationQuizMode() {
  return [] { return IsQuizMode(); };
}

SettingsManager::SettingsManager(QuizModeProvider isQuizMode)
    : m_store(std::make_unique<QSettings>(QSettings::UserScope,
                                          QCoreApplication::organizationName(),
                                          QCoreApplication::applicationName())),
      m_isQuizMode(std::move(isQuizMode)) {
  initExcersiceSettings();
  m_learnSettings = DifficultyPreset(Level1);
  LoadState();
  LoadSettings();
}

// Deleting the store writes whatever is still pending.
SettingsManager::~SettingsManager() = default;

void SettingsManager::LoadState() {
  if (m_store) LoadResumeState(*m_store, state);
}

void SettingsManager::SaveState() {
  if (m_store) SaveResumeState(*m_store, state);
}

void SettingsManager::LoadSettings() {
  if (m_store) Core::LoadSettings(*m_store, globalSettings, m_learnSettings);
}

void SettingsManager::SaveSettings() {
  if (m_store) Core::SaveSettings(*m_store, globalSettings, m_learnSettings);
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
