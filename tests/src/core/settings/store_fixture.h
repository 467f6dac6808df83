#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
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

  // A separate handle on the same file, as a later run of the program would open it.
  static std::unique_ptr<QSettings> OpenStore() {
    return std::make_unique<QSettings>(QSettings::UserScope, "Quorvale", "MelvarinStudio");
  }

  static void Store(const QString& key, const QVariant& value) {
    auto store = OpenStore();
    store->setValue(key, value);
    store->sync();
  }

  TempEnvironment m_env;
};

}  // namespace Testing
