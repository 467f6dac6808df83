#include "src/core/telemetry/telemetry.h"

#include "src/common/assertion.h"
#include "src/core/midi/error.h"
#include "src/core/telemetry/platform_info.h"
#include "src/core/telemetry/service_endpoint.h"
#include "src/core/telemetry/telemetry_xml.h"
#include "src/core/xml_file/xml_file.h"

#include <QBuffer>
#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>

namespace Core {

namespace {

qint64 SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A count read from a damaged file may be negative; folding must never divide by zero.
qint64 SafeCount(int count) {
  return std::max(count, 0);
}

void CountVisit(int& count) {
  if (count < INT_MAX) count = static_cast<int>(SafeCount(count) + 1);
}

// Running mean of visit lengths in whole milliseconds. The sum is formed in 64 bits: in 32 bits
// average × count overflows after some hundreds of long visits. A visit longer than INT_MAX ms
// (about 24 days) counts as INT_MAX.
void FoldDuration(int& average, int count, qint64 elapsedMs) {
  const qint64 visit = std::clamp<qint64>(elapsedMs, 0, INT_MAX);
  const qint64 n = SafeCount(count);
  average = static_cast<int>((static_cast<qint64>(average) * n + visit) / (n + 1));
}

}  // namespace

Telemetry::Telemetry(const QString& filePath, Clock clock)
    : m_filePath(filePath), m_clock(clock ? std::move(clock) : Clock(SteadyMilliseconds)) {
  m_data.uid = QUuid::createUuid();
  m_data.installDate = QDateTime::currentMSecsSinceEpoch();
  m_data.locale = QLocale().name();
  m_data.os = getOs();
  m_data.tz = getTimeZoneDiff();
  Load();
  m_appStart = Now();
}

Telemetry::~Telemetry() {
  try {
    Save();
  } catch (const Error& error) {
    std::fprintf(stderr, "Could not save the usage record \"%s\": %s\n", qPrintable(m_filePath),
                 qPrintable(error.GetMessage()));
  }
  m_uploadFuture.waitForFinished();
}

void Telemetry::EnterExercise(int exId, bool quiz) {
  MELVARIN_ASSERT(exId >= 0 && exId < TelemetryData::ExerciseCount);
  m_currentExercise = exId;
  m_quizMode = quiz;
  m_exerciseStart = Now();
  m_exerciseOpen = true;
}

void Telemetry::ExitExercise(double score) {
  ExitReference();
  if (m_exerciseOpen) {
    const int id = m_currentExercise;
    auto& scoreAverage = m_quizMode ? m_data.quizScoreAverage[id] : m_data.exScoreAverage[id];
    int& count = m_quizMode ? m_data.quizLaunchCount[id] : m_data.exLaunchCount[id];
    int& timeAverage = m_quizMode ? m_data.quizTimeAverage[id] : m_data.exTimeAverage[id];
    auto& scores = m_quizMode ? m_data.quizScore[id] : m_data.exScore[id];

    const double n = static_cast<double>(SafeCount(count));
    scoreAverage = (n * scoreAverage + score) / (n + 1);
    FoldDuration(timeAverage, count, Now() - m_exerciseStart);
    CountVisit(count);
    std::shift_left(scores.begin(), scores.end(), 1);
    scores.back() = score;
  }
  m_exerciseOpen = false;
}

void Telemetry::EnterReference() {
  m_referenceStart = Now();
  m_referenceOpen = true;
}

void Telemetry::ExitReference() {
  if (m_referenceOpen) {
    FoldDuration(m_data.refTimeAverage[m_currentExercise], m_data.refLaunchCount[m_currentExercise],
                 Now() - m_referenceStart);
    CountVisit(m_data.refLaunchCount[m_currentExercise]);
  }
  m_referenceOpen = false;
}

void Telemetry::EnterSettings() {
  ExitReference();
  m_settingsStart = Now();
  m_settingsOpen = true;
}

void Telemetry::ExitSettings() {
  if (m_settingsOpen) {
    FoldDuration(m_data.settingsTimeAverage[m_currentExercise],
                 m_data.settingsLaunchCount[m_currentExercise], Now() - m_settingsStart);
    CountVisit(m_data.settingsLaunchCount[m_currentExercise]);
  }
  m_settingsOpen = false;
}

void Telemetry::ExitApp() {
  FoldDuration(m_data.appTimeAverage, m_data.appLaunchCount, Now() - m_appStart);
  CountVisit(m_data.appLaunchCount);
  Upload();
}

void Telemetry::Load() {
  const XmlFile::WholeFile whole = XmlFile::ReadWholeFile(m_filePath, MaxFileBytes);
  switch (whole.outcome) {
    case XmlFile::WholeFile::Read:
      break;
    case XmlFile::WholeFile::Missing:
      return;  // first run: the fresh values stand
    case XmlFile::WholeFile::TooLarge: {
      // Not read: the fresh values stand, and go to a new file once this one is out of the way.
      const XmlFile::KeptCopy aside = XmlFile::MoveAside(m_filePath, QStringLiteral("damaged"));
      if (aside.path.isEmpty())
        m_leftAlone = QStringLiteral("it is too large to be read, and could not be put aside (%1)")
                          .arg(aside.error);
      m_problems.push_back({StorageProblem::TooLarge, StorageProblem::UsageRecord, m_filePath,
                            aside.error, aside.path});
      return;
    }
    case XmlFile::WholeFile::NotAFile:
    case XmlFile::WholeFile::Failed:
      m_leftAlone =
          QStringLiteral("it could not be read when the program started (%1)").arg(whole.error);
      m_problems.push_back(
          {StorageProblem::Unreadable, StorageProblem::UsageRecord, m_filePath, whole.error, {}});
      return;
  }
  const QByteArray& found = whole.bytes;
  QBuffer buffer;
  buffer.setData(found);
  buffer.open(QIODevice::ReadOnly);
  bool newer = false;
  try {
    if (TelemetryXMLSerializer::ReadXML(buffer, m_data)) return;
  } catch (const Error&) {
    // What was read before the damage stays; what is whole beyond it is taken as well.
    TelemetryXMLSerializer::SalvageXML(found, m_data);
    newer = TelemetryXMLSerializer::IsNewerVersion(found);
  }
  const XmlFile::KeptCopy copy =
      XmlFile::KeepCopy(m_filePath, found, QLatin1String(newer ? "newer-version" : "damaged"));
  if (newer)
    m_leftAlone = QStringLiteral("it was made by a newer version of the program");
  else if (copy.path.isEmpty())
    m_unkeptOriginal = found;
  m_problems.push_back({newer ? StorageProblem::NewerVersion : StorageProblem::Damaged,
                        StorageProblem::UsageRecord, m_filePath, copy.error, copy.path});
}

void Telemetry::Save() {
  if (!m_leftAlone.isEmpty()) throw MELVARIN_ERROR(Error::XmlSave, m_leftAlone);
  if (!m_unkeptOriginal.isEmpty()) {
    const XmlFile::KeptCopy copy =
        XmlFile::KeepCopy(m_filePath, m_unkeptOriginal, QStringLiteral("damaged"));
    if (copy.path.isEmpty())
      throw MELVARIN_ERROR(
          Error::XmlSave,
          QStringLiteral("no copy of the damaged file could be kept (%1)").arg(copy.error));
    m_unkeptOriginal.clear();
  }
  // The file is replaced whole: a crash or a full disk leaves the previous record intact.
  if (const std::optional<QString> failure =
          XmlFile::ReplaceFile(m_filePath, TelemetryXMLSerializer::WriteXML(m_data)))
    throw MELVARIN_ERROR(Error::XmlSave, *failure);
}

}  // namespace Core
