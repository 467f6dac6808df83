#pragma once

// The general page, the last page of every trainer settings panel: the MIDI input device, the
// difficulty level of the panel's trainer, whether the difficulty dialog comes first, the answer
// input, the playback instrument and what happens after a wrong answer. The first of these are
// general settings, stored through the application; the wrong-answer policy belongs to the
// exercise-settings record, which the panel hands in.

#include <QVector>
#include <QWidget>

#include <memory>

#include "src/core/settings/settings_types.h"

class Ui_GeneralSettingsTab;

namespace Core {
struct GlobalSectionSettings;
}

namespace UI {

class GeneralSettingsTab : public QWidget {
  Q_OBJECT

 public:
  GeneralSettingsTab();
  explicit GeneralSettingsTab(QWidget* parent);
  ~GeneralSettingsTab() override;

  void SetupUI();
  void SetLabelsText();
  void Gui2Data(Core::GlobalSectionSettings& policy);
  void Data2Gui(const Core::GlobalSectionSettings& policy);
  void ResetDeviceBox();
  void setMidiDeviceVisible(bool visible);
  void setAnswerTypeVisible(bool visible);
  void selectDifficulty(int level);

  void setExerciseType(Core::ExerciseType type) { m_exerciseType = type; }
  Core::ExerciseType exerciseType() const { return m_exerciseType; }
  Ui_GeneralSettingsTab& form() { return *m_ui; }

 signals:
  void refreshGui();

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void on_Level1_clicked() { ApplyLevel(1); }
  void on_Level2_clicked() { ApplyLevel(2); }
  void on_Level3_clicked() { ApplyLevel(3); }
  void on_Level4_clicked() { ApplyLevel(4); }
  void on_Level5_clicked() { ApplyLevel(5); }

 private:
  void ApplyLevel(int level);

  std::unique_ptr<Ui_GeneralSettingsTab> m_ui;
  Core::ExerciseType m_exerciseType = Core::NoteTrainerExercise;
  QVector<int> m_delays;
};

}  // namespace UI
