#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace Testing {

// Points the settings store and the user data folder at a fresh temporary folder for the lifetime
// of the object, and restores the previous environment afterwards. Qt takes the settings folder
// from the environment only once per process, so it is set on Qt as well: otherwise every later
// test of a program would share the first test's store.
class TempEnvironment {
 public:
  TempEnvironment();
  ~TempEnvironment();
  TempEnvironment(const TempEnvironment&) = delete;
  TempEnvironment& operator=(const TempEnvironment&) = delete;

  QString Root() const { return m_dir.path(); }
  QString ConfigHome() const;
  QString DataHome() const;

 private:
  QTemporaryDir m_dir;
  QByteArray m_oldConfigHome;
  QByteArray m_oldDataHome;
};

}  // namespace Testing
