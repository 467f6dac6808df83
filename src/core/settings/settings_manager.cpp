#include "src/core/settings/settings_manager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "src/core/settings/difficulty_presets.h"
#include "src/core/settings/quiz_mode.h"
#include "src/core/settings/settings_ranges.h"
#include "src/core/settings/settings_store.h"
#include "src/core/xml_file/xml_file.h"

namespace Core {

namespace {

// The largest store file that is read. The store holds 221 keys of some forty to sixty bytes each,
// about 12 KB; a file of a megabyte holds no settings of ours.
constexpr qint64 MaxStoreBytes = qint64(1) << 20;

std::unique_ptr<QSettings> OpenUserStore() {
  return std::make_unique<QSettings>(QSettings::UserScope, QCoreApplication::organizationName(),
                                     QCoreApplication::applicationName());
}

// The file Qt keeps the user's store in, found before Qt reads it: a handle on names that no
// program uses tells Qt's folder for user stores without reading any file of ours, and the store
// lies there under the organisation's and the application's names.
QString UserStoreFile() {
  const QString organisation = QStringLiteral(".melvarin-store-probe");
  const QString application = QStringLiteral("probe");
  const QString tail = organisation + QLatin1Char('/') + application + QStringLiteral(".conf");
  QString folder = QSettings(QSettings::UserScope, organisation, application).fileName();
  if (!folder.endsWith(tail)) return {};
  folder.chop(tail.size());
  return folder + QCoreApplication::organizationName() + QLatin1Char('/') +
         QCoreApplication::applicationName() + QStringLiteral(".conf");
}

// Qt guards each write of the store's file with a lock file beside it, and writes through a
// temporary file named after the store with a dot and six random letters, renamed over it at the
// end. A kill in the middle leaves the lock, naming a process that is gone, or no owner at all
// when the kill came while Qt wrote the lock itself; a kill between the writing and the renaming
// leaves the temporary file too. Only then are such files removed, and only those written since
// the lock was taken: a learner's own "MelvarinStudio.conf.backup" is older than that.
// A lock that names no owner is removed as well: Qt would take it for the lock of a live writer
// until it is half a minute old, and the first save would block the GUI thread that long.
void CleanUpAfterInterruptedSave(const QString& storeFile) {
  const QFileInfo lockInfo(storeFile + QStringLiteral(".lock"));
  if (!lockInfo.exists()) return;
  QLockFile lock(lockInfo.filePath());
  qint64 pid = 0;
  QString hostName;
  QString appName;
  const bool named = lock.getLockInfo(&pid, &hostName, &appName);
  const bool ownerGone = !named || (hostName == QSysInfo::machineHostName() &&
                                    ::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
  if (!ownerGone) return;

  const QFileInfo store(storeFile);
  const QRegularExpression temporaryName(
      QStringLiteral("^%1\\.[A-Za-z]{6}$").arg(QRegularExpression::escape(store.fileName())));
  const QDateTime locked = lockInfo.lastModified().addSecs(-1);
  for (const QFileInfo& entry : store.dir().entryInfoList(QDir::Files | QDir::NoSymLinks))
    if (temporaryName.match(entry.fileName()).hasMatch() && entry.lastModified() >= locked)
      QFile::remove(entry.filePath());
  if (!named) lock.removeStaleLockFile();
}

const char* Describe(QSettings::Status status) {
  return status == QSettings::FormatError ? "it is damaged" : "it cannot be written";
}

}  // namespace

SettingsManager::QuizModeProvider SettingsManager::ApplicationQuizMode() {
  return [] { return IsQuizMode(); };
}

SettingsManager::SettingsManager(QuizModeProvider isQuizMode)
    : m_storeFile(UserStoreFile()), m_isQuizMode(std::move(isQuizMode)) {
  if (StoreFileMayBeRead()) {
    m_store = OpenUserStore();
    m_storeFile = m_store->fileName();
    CleanUpAfterInterruptedSave(m_storeFile);
  }
  initExcersiceSettings();
  m_learnSettings = DifficultyPreset(Level1);
  LoadState();
  LoadSettings();
  NoteLoadProblems();
}

bool SettingsManager::StoreFileMayBeRead() {
  const XmlFile::WholeFile found = XmlFile::Examine(m_storeFile, MaxStoreBytes);
  switch (found.outcome) {
    case XmlFile::WholeFile::Read:
    case XmlFile::WholeFile::Missing:
      return true;
    case XmlFile::WholeFile::Failed:
      // Qt takes a file it cannot reach (a settings folder that is a link to itself) for a
      // missing one, and would start afresh and fail at every save without a word at the start.
      std::fprintf(stderr,
                   "The settings file \"%s\" cannot be read (%s): the settings are not saved in "
                   "this run.\n",
                   qPrintable(m_storeFile), qPrintable(found.error));
      break;
    case XmlFile::WholeFile::NotAFile:
      // A folder stops Qt's reading at once and is told as unreadable; anything else (a named
      // pipe) would stop the program for good.
      if (QFileInfo(m_storeFile).isDir()) return true;
      std::fprintf(stderr,
                   "The settings file \"%s\" is not a regular file (%s): it is not read, and "
                   "the settings are not saved in this run.\n",
                   qPrintable(m_storeFile), qPrintable(found.error));
      break;
    case XmlFile::WholeFile::TooLarge:
      return PutStoreFileAside(found.size);
  }
  // Neither read nor written: the settings live in memory for this run.
  m_loadProblems.push_back(
      {StorageProblem::Unreadable, StorageProblem::Settings, m_storeFile, found.error, {}});
  return false;
}

bool SettingsManager::PutStoreFileAside(qint64 size) {
  const XmlFile::KeptCopy aside = XmlFile::MoveAside(m_storeFile, QStringLiteral("damaged"));
  m_loadProblems.push_back(
      {StorageProblem::TooLarge, StorageProblem::Settings, m_storeFile, aside.error, aside.path});
  if (aside.path.isEmpty()) {
    std::fprintf(stderr,
                 "The settings file \"%s\" holds %lld bytes, far more than any settings, and "
                 "could not be put aside (%s): it is not read, and the settings are not saved in "
                 "this run.\n",
                 qPrintable(m_storeFile), static_cast<long long>(size), qPrintable(aside.error));
    return false;
  }
  std::fprintf(stderr,
               "The settings file \"%s\" holds %lld bytes, far more than any settings: it is not "
               "read, and is kept as \"%s\".\n",
               qPrintable(m_storeFile), static_cast<long long>(size), qPrintable(aside.path));
  return true;
}

// Deleting the store writes whatever is still pending.
SettingsManager::~SettingsManager() = default;

void SettingsManager::WriteStore() {
  // Filled since it was read (by hand or by another program), the file would be read whole by the
  // save, which merges it with what is pending: it is put aside instead, and the save writes
  // only this program's settings.
  const XmlFile::WholeFile found = XmlFile::Examine(m_storeFile, MaxStoreBytes);
  if (found.outcome == XmlFile::WholeFile::TooLarge && !PutStoreFileAside(found.size)) {
    m_storageStatus = QSettings::AccessError;
    return;
  }
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

bool SettingsManager::IsRated() const {
  return m_rated || (m_store && LoadRated(*m_store));
}

void SettingsManager::SetRated() {
  m_rated = true;
  if (!m_store) return;
  SaveRated(*m_store, true);
  WriteStore();
}

void SettingsManager::LoadSettings() {
  if (!m_store) return;
  Core::LoadSettings(*m_store, globalSettings, m_learnSettings);
  KeepInOfferedRanges(m_learnSettings);
}

void SettingsManager::NoteLoadProblems() {
  if (!m_store) return;
  const QString path = m_store->fileName();
  switch (m_store->status()) {
    case QSettings::NoError:
      return;
    case QSettings::FormatError: {
      // What could be read is used, and the next save writes only that: the file as it was found
      // is kept first.
      QFile file(path);
      const QByteArray found = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
      const XmlFile::KeptCopy copy = XmlFile::KeepCopy(path, found, QStringLiteral("damaged"));
      std::fprintf(stderr, "The settings file \"%s\" is damaged; a copy of it is kept as \"%s\".\n",
                   qPrintable(path), qPrintable(copy.path.isEmpty() ? copy.error : copy.path));
      m_loadProblems.push_back(
          {StorageProblem::Damaged, StorageProblem::Settings, path, copy.error, copy.path});
      return;
    }
    case QSettings::AccessError:
      m_loadProblems.push_back(
          {StorageProblem::Unreadable, StorageProblem::Settings, path, {}, {}});
      return;
  }
}

std::vector<StorageProblem> SettingsManager::GetStorageProblems() const {
  std::vector<StorageProblem> problems = m_loadProblems;
  if (m_storageStatus != QSettings::NoError)
    problems.push_back({StorageProblem::Unwritable,
                        StorageProblem::Settings,
                        m_storeFile,
                        QString::fromLatin1(Describe(m_storageStatus)),
                        {}});
  return problems;
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
