#pragma once

// How the settings records live in the user's settings store: the resume record as "ROZazod."
// keys at the root, the general options in the group "GlobalSetting" and the lesson copy of the
// trainer settings in nested groups under "Excersises". Every key is written on every save and
// read back with a default, so a store from an older or hand-edited file still loads.

#include <QString>

#include "src/core/settings/exercise_settings.h"
#include "src/core/settings/global_settings.h"

class QSettings;

namespace Core {

// The names that key the store; the application object registers them with Qt at start-up.
inline const QString SettingsOrganisationName = QStringLiteral("Quorvale");
inline const QString SettingsApplicationName = QStringLiteral("MelvarinStudio");

// Missing keys yield the record defaults, except "ROZazod.ExerciseID" which yields 0.
void LoadResumeState(QSettings& store, VAvaroState& state);
void SaveResumeState(QSettings& store, const VAvaroState& state);

// Whether the learner has rated the program: "showRatingDialog" at the root, false when missing.
bool LoadRated(QSettings& store);
void SaveRated(QSettings& store, bool rated);

// Missing general keys yield their fixed defaults. A missing trainer key keeps the value the
// member already holds, except the after-a-wrong-answer pair, which falls back to moving on after
// 3000 ms. Values are used as stored, without range checks: readers of the records must cope.
void LoadSettings(QSettings& store, GlobalSettings& global, ExcersisesSettings& exercises);
void SaveSettings(QSettings& store, const GlobalSettings& global,
                  const ExcersisesSettings& exercises);

}  // namespace Core
