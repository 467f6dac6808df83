// Saves the statistics, the usage record and the settings over and over, as the program does when
// lessons end and settings change, and writes the number of each round whose saves all returned
// to standard output. The kill test ends it at random points of its saves.

#include <QCoreApplication>

#include <cstdio>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/settings/settings_store.h"
#include "src/core/telemetry/telemetry.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setOrganizationName(Core::SettingsOrganisationName);
  QCoreApplication::setApplicationName(Core::SettingsApplicationName);
  Core::SettingsManager settings([] { return false; });
  Core::ExerciseCatalog catalog;
  const std::shared_ptr<Core::ExerciseStatistics> statistics = catalog.GetExerciseStatistics();
  for (int round = settings.globalSettings.newsId + 1;; ++round) {
    statistics->AddEntry({round, 0, 0, 1, 0});
    statistics->Save();
    catalog.GetTelemetry()->Save();
    settings.globalSettings.newsId = round;
    settings.SaveSettings();
    std::printf("%d\n", round);
    std::fflush(stdout);
  }
}
