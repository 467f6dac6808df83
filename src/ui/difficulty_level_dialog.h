#pragma once

// Lets the learner pick one of the five difficulty presets, or keep the custom settings, before a
// lesson or quiz of one trainer starts. Picking an item stores the preset for that trainer,
// fades the dialog out and emits Play.

#include "src/core/settings/settings_types.h"
#include "src/ui/base_dialog.h"
#include "ui_ex_difficulty_level_dialog.h"

namespace UI {

class DifficultyLevelDialog : public BaseDialog {
  Q_OBJECT

 public:
  DifficultyLevelDialog(QWidget* parent, QRect rect);

  // A lesson: the Custom item is offered only when the trainer's settings match no preset, and
  // the "Do not show next time" box starts cleared.
  void showExerciseMode(Core::ExerciseType type);
  // A quiz: presets only, no box (it keeps its state).
  void showQuizMode(Core::ExerciseType type);
  void layoutControls(bool custom);
  void show() override;
  void hide() override { BaseDialog::hide(); }
  void itemPressed(int level);
  Core::ExerciseType exerciseType() const { return m_type; }

 signals:
  void Play();

 private slots:
  void on_Level1_clicked() { itemPressed(Core::Level1); }
  void on_Level2_clicked() { itemPressed(Core::Level2); }
  void on_Level3_clicked() { itemPressed(Core::Level3); }
  void on_Level4_clicked() { itemPressed(Core::Level4); }
  void on_Level5_clicked() { itemPressed(Core::Level5); }
  void on_Custom_clicked() { itemPressed(Core::CustomLevel); }
  void on_Close_released() { fadeOut(); }

 private:
  void removeCustomFromGrid();

  Ui_ex_difficulty_level_dialog m_ui;
  Core::ExerciseType m_type = Core::NoteTrainerExercise;
};

}  // namespace UI
