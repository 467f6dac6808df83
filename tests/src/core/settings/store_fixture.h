#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <memory>

#include "src/core/settings/settings_store.h"
#include "support/temp_environment.h"

namespace Testing {

// A private settings store file for each test: the real QSettings file under a temporary
// XDG_CONFIG_HOME, keyed by the product's names as the application sets them.
class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QCoreApplication::setOrganizationName(Core::SettingsOrganisationName);
    QCoreApplication::setApplicationName(Core::SettingsApplicationName);
    // Qt computes the user path once per process; point it at this test's folder explicitly.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_env.ConfigHome());
  }

  QString StoreFile() const { return m_env.ConfigHome() + "/Quorvale/MelvarinStudio.conf"; }

  // Qt keeps the values of a closed store in memory and hands them to the next handle on the same
  // file as long as the file looks unchanged, so a handle opened in this process would never parse
  // the file. Moving its modification time makes the next handle read the file itself, as a later
  // run of the program would.
  void ForgetCachedStore() const {
    QFile file(StoreFile());
    if (!file.open(QIODevice::ReadWrite)) return;
    const QDateTime modified = QFileInfo(file).lastModified();
    file.setFileTime(modified.addSecs(-10), QFileDevice::FileModificationTime);
  }

  // A separate handle on the same file, reading what is on disk.
  std::unique_ptr<QSettings> OpenStore() const {
    ForgetCachedStore();
    return std::make_unique<QSettings>(QSettings::UserScope, "Quorvale", "MelvarinStudio");
  }

  void Store(const QString& key, const QVariant& value) const {
    auto store = OpenStore();
    store->setValue(key, value);
    store->sync();
  }

  TempEnvironment m_env;
};

}  // namespace Testing
