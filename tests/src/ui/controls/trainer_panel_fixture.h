#pragma once

// The trainer settings panels on the real main window: a lesson or a quiz is opened, Settings on
// the toolbar opens the trainer's panel, Home leaves it, and the settings file is read back.

#include <QAbstractButton>
#include <QDir>
#include <QMap>
#include <QSettings>

#include "../shell_fixture.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/block_view_control.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/controls/settings_locked.h"
#include "ui_console.h"

namespace Testing {

class TrainerPanelTest : public ShellTest {
 protected:
  using Store = QMap<QString, QVariant>;

  void SetUp() override {
    ShellTest::SetUp();
    Core::GlobalSettings global = App()->GetSettings()->globalSettings;
    global.showDifficultyDialog = false;
    App()->SetGlobalSettings(global);
    // Every key is in the file, so a comparison sees each change.
    App()->SetExcerciseSettings(App()->GetSettings()->GetExcersiseSettings());
  }

  Core::ExcersisesSettings Record() const { return App()->GetSettings()->GetExcersiseSettings(); }
  void SetRecord(const Core::ExcersisesSettings& settings) const {
    App()->SetExcerciseSettings(settings);
  }

  // Opens the trainer as the home screen does and its settings from the toolbar; returns the
  // panel on top of the screen stack.
  QWidget* OpenSettings(int trainer, bool quiz) {
    if (!m_console) StartConsole();
    App()->SetQuizMode(quiz);
    m_console->OpenExercise(size_t(trainer), quiz);
    EXPECT_TRUE(WaitUntil([&] { return FadeDone() && Exercise()->isVisible(); }));
    Click(m_console->form().Settings);
    EXPECT_TRUE(WaitUntil([&] { return FadeDone() && m_stack->GetCurrentWindow() != Exercise(); }));
    return m_stack->GetCurrentWindow();
  }
  void LeaveByHome() {
    Click(m_console->form().Home);
    EXPECT_TRUE(
        WaitUntil([&] { return FadeDone() && m_console->GetBlockViewControl()->isVisible(); }));
  }

  // Clicks a check box or radio on its indicator: the middle of a wide box is outside the part
  // that takes clicks.
  static void Tick(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  // Key lists as text, so a failure names the keys.
  static std::string Keys(const QStringList& keys) { return keys.join('\n').toStdString(); }

  // Every key of the settings file with its value.
  Store Snapshot() const {
    Store values;
    Stored("GlobalSetting");  // reads the file afresh
    QSettings store(QSettings::UserScope, "Quorvale", "MelvarinStudio");
    for (const QString& key : store.allKeys()) values[key] = Stored(key);
    return values;
  }
  // The keys under `group` whose values differ between two snapshots, sorted.
  static QStringList Changed(const Store& before, const Store& after, const QString& group) {
    QStringList changed;
    for (auto it = after.begin(); it != after.end(); ++it)
      if (it.key().startsWith(group) && before.value(it.key()) != it.value()) changed << it.key();
    return changed;
  }

  // A picture of the whole window for review, kept beside the test program, once the screen
  // shown has faded in and what it posted to itself has been handled.
  void Screenshot(const QString& name) {
    EXPECT_TRUE(WaitUntil([&] { return FadeDone(); }));
    QCoreApplication::sendPostedEvents();
    QDir().mkpath("screenshots");
    EXPECT_TRUE(m_console->grab().save("screenshots/" + name + ".png"));
  }

  UI::ConsoleExerciseControl* Exercise() const { return m_console->GetExerciseControl(); }
};

}  // namespace Testing
