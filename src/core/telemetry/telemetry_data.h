#pragma once

// The stored part of the usage record: everything "tstats.xml" holds and the upload sends.

#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <array>

namespace Core {

struct TelemetryData {
  static constexpr int ExerciseCount = 3;  // indexed by exercise id: note, ear, music symbols
  static constexpr int ScoreCount = 10;    // last scores kept; index 9 the newest

  using PerExercise = std::array<int, ExerciseCount>;
  using Scores = std::array<double, ScoreCount>;

  int appLaunchCount = 0;
  PerExercise exLaunchCount{};
  PerExercise quizLaunchCount{};
  PerExercise refLaunchCount{};
  PerExercise settingsLaunchCount{};

  int appTimeAverage = 0;  // milliseconds, as are all time averages
  PerExercise exTimeAverage{};
  PerExercise quizTimeAverage{};
  PerExercise refTimeAverage{};
  PerExercise settingsTimeAverage{};

  std::array<double, ExerciseCount> exScoreAverage{};  // fractions 0 to 1
  std::array<double, ExerciseCount> quizScoreAverage{};
  std::array<Scores, ExerciseCount> exScore{};
  std::array<Scores, ExerciseCount> quizScore{};

  QUuid uid;               // installation id
  qint64 installDate = 0;  // milliseconds since 1970-01-01 UTC
  QString os;
  QString locale;
  int tz = 0;  // seconds east of UTC
};

}  // namespace Core
