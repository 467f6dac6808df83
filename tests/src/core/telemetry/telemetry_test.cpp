// Visits, averages and scores of the usage record, driven by a hand-turned clock.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "src/core/telemetry/telemetry.h"
#include "support/temp_environment.h"

#include <QFile>

#include <climits>

namespace {

using ::testing::ElementsAre;

class TelemetryTest : public ::testing::Test {
 protected:
  std::unique_ptr<Core::Telemetry> Make() {
    return std::make_unique<Core::Telemetry>(m_path, [this] { return m_now; });
  }
  void WriteFile(const QByteArray& text) {
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  Testing::TempEnvironment m_env;
  QString m_path = m_env.DataHome() + "/tstats.xml";
  qint64 m_now = 1'000'000;
};

TEST_F(TelemetryTest, LearnRunsCountAverageAndKeepTheLastScores) {
  auto telemetry = Make();
  for (double score : {1.0, 0.5, 0.0}) {
    telemetry->EnterExercise(1, false);
    m_now += 1000;
    telemetry->ExitExercise(score);
  }
  const Core::TelemetryData& data = telemetry->GetData();
  EXPECT_EQ(data.exLaunchCount[1], 3);
  EXPECT_DOUBLE_EQ(data.exScoreAverage[1], 0.5);
  EXPECT_THAT(data.exScore[1], ElementsAre(0, 0, 0, 0, 0, 0, 0, 1.0, 0.5, 0.0));
  EXPECT_EQ(data.exTimeAverage[1], 1000);
  // Nothing leaks into quiz fields or other trainers.
  EXPECT_EQ(data.quizLaunchCount[1], 0);
  EXPECT_EQ(data.exLaunchCount[0], 0);

  telemetry->EnterExercise(2, true);
  telemetry->ExitExercise(0.25);
  EXPECT_EQ(telemetry->GetData().quizLaunchCount[2], 1);
  EXPECT_DOUBLE_EQ(telemetry->GetData().quizScoreAverage[2], 0.25);

  telemetry.reset();
  QFile file(m_path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.contains("exLaunchCount=\"3\""));
  EXPECT_TRUE(text.contains("exScoreAverage=\"0.5\""));
}

TEST_F(TelemetryTest, DurationAveragesTruncateAndSurviveLongHistories) {
  auto telemetry = Make();
  telemetry->EnterSettings();
  m_now += 1000;
  telemetry->ExitSettings();
  telemetry->EnterSettings();
  m_now += 1001;
  telemetry->ExitSettings();
  EXPECT_EQ(telemetry->GetData().settingsTimeAverage[0], 1000);
  EXPECT_EQ(telemetry->GetData().settingsLaunchCount[0], 2);
  telemetry.reset();

  // 2000 learn runs of three hours each: average × count is far beyond 32 bits.
  WriteFile(R"(<telemetry version="1.0"><exercise id="0" exLaunchCount="2000")"
            R"( exTimeAverage="10800000"/></telemetry>)");
  telemetry = Make();
  telemetry->EnterExercise(0, false);
  m_now += 10'800'000;
  telemetry->ExitExercise(1.0);
  EXPECT_EQ(telemetry->GetData().exTimeAverage[0], 10'800'000);
  EXPECT_EQ(telemetry->GetData().exLaunchCount[0], 2001);

  // A visit longer than INT_MAX milliseconds counts as INT_MAX.
  telemetry->EnterReference();
  m_now += 5'000'000'000;
  telemetry->ExitReference();
  EXPECT_EQ(telemetry->GetData().refTimeAverage[0], INT_MAX);
}

TEST_F(TelemetryTest, VisitsCountOnlyWhileOpenAndGoToTheExerciseEnteredLast) {
  auto telemetry = Make();
  telemetry->ExitReference();  // nothing is open: nothing is counted
  telemetry->ExitExercise(1.0);
  telemetry->EnterExercise(2, false);
  telemetry->EnterReference();
  m_now += 300;
  telemetry->EnterSettings();  // leaving the reference pages for the settings ends that visit
  m_now += 500;
  telemetry->ExitSettings();
  telemetry->ExitSettings();  // already closed
  telemetry->EnterReference();
  m_now += 100;
  telemetry->ExitExercise(1.0);  // and so does leaving the exercise
  const Core::TelemetryData& data = telemetry->GetData();
  EXPECT_EQ(data.exLaunchCount[0], 0);
  EXPECT_EQ(data.refLaunchCount[0], 0);
  EXPECT_EQ(data.exScore[0][9], 0.0);
  EXPECT_EQ(data.refLaunchCount[2], 2);
  EXPECT_EQ(data.refTimeAverage[2], 200);
  EXPECT_EQ(data.settingsLaunchCount[2], 1);
  EXPECT_EQ(data.settingsTimeAverage[2], 500);
  EXPECT_EQ(data.exLaunchCount[2], 1);
  EXPECT_EQ(data.exTimeAverage[2], 900);
}

TEST_F(TelemetryTest, DamagedCountsInTheFileAreFoldedSafely) {
  WriteFile(R"(<telemetry version="1.0" appLaunchCount="-1" appTimeAverage="7">)"
            R"(<exercise id="1" exLaunchCount="-1" exScoreAverage="0.9"/></telemetry>)");
  auto telemetry = Make();
  telemetry->EnterExercise(1, false);
  m_now += 50;
  telemetry->ExitExercise(0.5);
  m_now += 10;
  telemetry->ExitApp();
  const Core::TelemetryData& data = telemetry->GetData();
  EXPECT_EQ(data.exLaunchCount[1], 1);
  EXPECT_DOUBLE_EQ(data.exScoreAverage[1], 0.5);
  EXPECT_EQ(data.exTimeAverage[1], 50);
  EXPECT_EQ(data.appLaunchCount, 1);
}

}  // namespace
