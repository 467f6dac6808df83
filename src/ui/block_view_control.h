#pragma once

// The home screen: a full-window picture with the three trainers, each with a Learn and a Quiz
// button and a bar summing the learner's results of the current lesson. A button goes through
// the difficulty dialog when the settings ask for it and then asks to open the exercise.

#include <QPointer>
#include <QWidget>

#include "src/ui/decoded_picture.h"
#include "ui_ex_block_view_control.h"

namespace UI {

class DifficultyLevelDialog;

class BlockViewControl : public QWidget {
  Q_OBJECT

 public:
  explicit BlockViewControl(QWidget* parent);

  void itemClicked(int index, bool quiz);
  DifficultyLevelDialog* GetDifficultyLevelDialog();
  bool isShowingDifficutlyDlg() const;
  void prepareStatisticsUpdate() { m_statisticsDirty = true; }
  void updateStatistics();
  void updateLayout();
  double calculateScale() const;
  Progress* progressBar(int trainer) const;

 signals:
  void OpenExercise(size_t id, bool QuizMode);

 public slots:
  void setVisible(bool visible) override;

 private slots:
  void on_Learn1_clicked() { learn(0); }
  void on_Learn2_clicked() { learn(1); }
  void on_Learn3_clicked() { learn(2); }
  void on_Quiz1_clicked() { quiz(0); }
  void on_Quiz2_clicked() { quiz(1); }
  void on_Quiz3_clicked() { quiz(2); }
  void beginExerciseOrQuiz();
  void difficultyDlgClosing() {}

 protected:
  void timerEvent(QTimerEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void learn(int trainer);
  void quiz(int trainer);

  bool m_statisticsDirty = true;
  QPointer<DifficultyLevelDialog> m_difficultyDialog;
  int m_chosenTrainer = 0;
  bool m_chosenQuiz = false;
  // Decoded while the window comes up; drawn from the first paint on.
  DecodedPicture m_background;
  Ui_ex_block_view_control m_ui;
};

}  // namespace UI
