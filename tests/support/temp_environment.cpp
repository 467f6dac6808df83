#include "support/temp_environment.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace Testing {

namespace {
void Restore(const char* name, const QByteArray& value) {
  if (value.isNull())
    qunsetenv(name);
  else
    qputenv(name, value);
}

// Where Qt keeps user settings when nothing else is set.
QString DefaultConfigHome(const QByteArray& configHome) {
  return configHome.isEmpty() ? QDir::homePath() + "/.config" : QString::fromLocal8Bit(configHome);
}
}  // namespace

TempEnvironment::TempEnvironment()
    : m_oldConfigHome(qgetenv("XDG_CONFIG_HOME")), m_oldDataHome(qgetenv("XDG_DATA_HOME")) {
  if (!qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) m_oldConfigHome = QByteArray();
  if (!qEnvironmentVariableIsSet("XDG_DATA_HOME")) m_oldDataHome = QByteArray();
  QDir(m_dir.path()).mkpath("config");
  QDir(m_dir.path()).mkpath("data");
  qputenv("XDG_CONFIG_HOME", ConfigHome().toLocal8Bit());
  qputenv("XDG_DATA_HOME", DataHome().toLocal8Bit());
  QStandardPaths::setTestModeEnabled(false);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ConfigHome());
}

TempEnvironment::~TempEnvironment() {
  Restore("XDG_CONFIG_HOME", m_oldConfigHome);
  Restore("XDG_DATA_HOME", m_oldDataHome);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     DefaultConfigHome(m_oldConfigHome));
}

QString TempEnvironment::ConfigHome() const {
  return m_dir.path() + "/config";
}
QString TempEnvironment::DataHome() const {
  return m_dir.path() + "/data";
}

}  // namespace Testing
