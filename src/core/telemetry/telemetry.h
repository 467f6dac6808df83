#pragma once

// The usage record of one installation: how often and how long the program, each trainer's
// Learn and Quiz modes, its reference pages and its settings were visited, the recent scores,
// and who and where the installation is. It lives in "tstats.xml" (read at construction, written
// at destruction) and is sent to the product's web service once when the user leaves.
// All operations run on the GUI thread.

#include "src/core/telemetry/telemetry_data.h"
#include "src/core/xml_file/storage_problem.h"

#include <QFuture>
#include <QString>

#include <functional>
#include <vector>

namespace Core {

class Telemetry {
 public:
  // The largest usage record that is read. It holds a few dozen numbers for each of the three
  // trainers, some kilobytes; a file of a megabyte is no usage record.
  static constexpr qint64 MaxFileBytes = qint64(1) << 20;

  // Milliseconds of a monotonic clock; visit lengths are differences of two readings.
  using Clock = std::function<qint64()>;

  // Fresh identity (new id, install date now, this machine's platform, locale and time zone),
  // then whatever the file holds over it. Without a clock the steady clock is used.
  explicit Telemetry(const QString& filePath, Clock clock = {});
  // Writes the file (a failure is reported on standard error), then waits for the upload.
  virtual ~Telemetry();
  Telemetry(const Telemetry&) = delete;
  Telemetry& operator=(const Telemetry&) = delete;

  // `exId` is the trainer (0 to 2); visits of the reference pages and the settings are charged
  // to the trainer entered last.
  void EnterExercise(int exId, bool quiz);
  // `score`: right answers divided by all judged answers, 0 when there were none.
  void ExitExercise(double score);
  void EnterReference();
  void ExitReference();
  void EnterSettings();
  void ExitSettings();
  // Counts this run and starts the upload of the record.
  void ExitApp();

  // Reads the file over the record; a missing file is not an error. From a damaged file every
  // value that can still be read is taken, and the file as found is kept beside it
  // ("tstats.xml.damaged-<date>-<n>") before it is ever replaced. A file of a newer version is
  // read as far as it can be and never written in this run; one far too large to be a usage
  // record is not read but renamed to such a name, and one that is not a regular file (a named
  // pipe, a folder) is not read and never written. All go to GetStorageProblems().
  void Load();
  // Replaces the file atomically; throws Error 0x624 when it cannot be written or is left alone.
  void Save();

  const TelemetryData& GetData() const { return m_data; }
  // What loading the file found wrong with it.
  const std::vector<StorageProblem>& GetStorageProblems() const { return m_problems; }

 private:
  void Upload();
  static void DoUpload(const QUrl& url, const QByteArray& uid, const QByteArray& body);
  qint64 Now() const { return m_clock(); }

  QString m_filePath;
  Clock m_clock;
  qint64 m_appStart = 0;  // clock readings at the start of each kind of visit
  qint64 m_exerciseStart = 0;
  qint64 m_referenceStart = 0;
  qint64 m_settingsStart = 0;
  TelemetryData m_data;
  int m_currentExercise = 0;
  bool m_quizMode = false;
  QFuture<void> m_uploadFuture;
  bool m_exerciseOpen = false;
  bool m_referenceOpen = false;
  bool m_settingsOpen = false;
  // Why the file is left as it is for this run; empty when it may be written.
  QString m_leftAlone;
  // The file as found damaged, while no copy of it could be kept: it is not replaced before.
  QByteArray m_unkeptOriginal;
  std::vector<StorageProblem> m_problems;
};

}  // namespace Core
