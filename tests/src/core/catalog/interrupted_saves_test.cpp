// The program killed (SIGKILL) at random points while it saves, again and again: every save that
// returned before a kill is there at the next start, the files read as sound, and once the program
// has started again nothing it was writing is left beside them.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>
#include <random>
#include <set>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/settings/settings_store.h"
#include "src/core/telemetry/telemetry.h"
#include "support/patience.h"
#include "support/temp_environment.h"

namespace {

// The program's names, which key its folders, for the length of a test.
class ProgramNames {
 public:
  ProgramNames()
      : m_organisation(QCoreApplication::organizationName()),
        m_application(QCoreApplication::applicationName()) {
    QCoreApplication::setOrganizationName(Core::SettingsOrganisationName);
    QCoreApplication::setApplicationName(Core::SettingsApplicationName);
  }
  ~ProgramNames() {
    QCoreApplication::setOrganizationName(m_organisation);
    QCoreApplication::setApplicationName(m_application);
  }

 private:
  QString m_organisation;
  QString m_application;
};

// Runs the saving program until it has reported `rounds` finished rounds, kills it at once and
// returns the last round it reported.
int KillWhileSaving(int rounds) {
  QProcess child;
  child.start(QStringLiteral(MELVARIN_SAVE_LOOP), {});
  EXPECT_TRUE(child.waitForStarted());
  QByteArray out;
  while (out.count('\n') < rounds && child.waitForReadyRead(Testing::PatienceMs))
    out += child.readAllStandardOutput();
  ::kill(pid_t(child.processId()), SIGKILL);
  child.waitForFinished();
  out += child.readAllStandardOutput();
  const QList<QByteArray> lines = out.split('\n');
  // The last line may be cut short by the kill: only whole lines count.
  return lines.size() >= 2 ? lines[lines.size() - 2].toInt() : 0;
}

TEST(InterruptedSavesTest, KillsWhileSavingLoseNothingAndLeaveNothingBehind) {
  Testing::TempEnvironment env;
  ProgramNames names;
  const QDir data = Core::ExerciseCatalog::GetDbDir();
  const QDir config(env.ConfigHome() + "/Quorvale");
  const QRegularExpression leftover(QStringLiteral("melvarin-save|\\.conf\\.[A-Za-z]{6}$|damaged"));
  const unsigned seed = std::random_device()();
  SCOPED_TRACE(seed);
  std::mt19937 draw(seed);

  int confirmed = 0;
  for (int kill = 0; kill < 24; ++kill) {
    SCOPED_TRACE(kill);
    confirmed = std::max(confirmed, KillWhileSaving(std::uniform_int_distribution(1, 6)(draw)));
    {
      Core::SettingsManager settings([] { return false; });
      Core::ExerciseCatalog catalog;
      EXPECT_GE(settings.globalSettings.newsId, confirmed);
      EXPECT_TRUE(settings.GetStorageProblems().empty());
      EXPECT_TRUE(catalog.GetExerciseStatistics()->GetStorageProblems().empty());
      EXPECT_TRUE(catalog.GetTelemetry()->GetStorageProblems().empty());
      std::vector<Core::ExStat> records;
      catalog.GetExerciseStatistics()->GetTotalSummary(0, records);
      std::set<int> ids;
      for (const Core::ExStat& record : records) ids.insert(record.Id);
      for (int round = 1; round <= confirmed; ++round)
        ASSERT_TRUE(ids.count(round)) << "round " << round << " of " << confirmed;
      for (const QDir& folder : {data, config})
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
          EXPECT_FALSE(leftover.match(name).hasMatch()) << name.toStdString();
    }
  }
  EXPECT_GT(confirmed, 0);
}

}  // namespace
