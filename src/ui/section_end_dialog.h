#pragma once

// The overlay at the end of an exercise: it counts the learner's score up from 0 % to the final
// percentage while the two-sided bar grows with the wrong and correct counts, then colours the
// result green (90 % and more) or red. Repeat restarts the exercise; Escape or the close key
// continues. It steps aside when the learner leaves the exercise screen and comes back on the
// return from a settings page.

#include "src/ui/base_dialog.h"
#include "ui_ex_section_end_dialog.h"

namespace UI {

class SectionEndDialog : public BaseDialog {
  Q_OBJECT

 public:
  static constexpr int CountUpMs = 35;
  static constexpr int CountUpStep = 5;
  static constexpr int ContinueFadeDelayMs = 300;

  SectionEndDialog(QWidget* parent, QRect rect, double startOpacity, double endOpacity,
                   bool translucent);

  // Clears the display, restarts the count-up and fades in.
  void showAnimated();
  void show() override;
  void hide() override;
  bool countingUp() const { return m_timerId != -1; }
  // Shown and not taken down since, though it may have stepped aside for another screen.
  bool isShown() const { return m_shown; }
  // One tick of the count-up, as its timer gives.
  void countUpTick();
  // The final percentage of the counts set.
  int percentage() const;
  // Keeps the title and all below it under `top` (in the dialog's coordinates), clear of what
  // shows through the dialog above that line, as far as the dialog's height leaves room.
  void keepContentsBelow(int top);

 signals:
  void Continue();
  void Repeat();
  void ReviewStats();
  void SectionEndTimeout();

 public:
  // The form has no Continue or Review button: these two are reached by direct calls (Escape
  // continues). Plain functions, so the form's slot wiring does not look for their buttons.
  void on_Continue_released();
  void on_ReviewStats_released();

 public slots:
  void on_Repeat_released();
  void screenChangeSlot(QString current, QString previous);
  void setScore(int wrong, int correct);
  void clearScore();
  void postponedFadeSlot();

 protected:
  void timerEvent(QTimerEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void setLook(const char* panel, const char* number);
  void placeContents();

  Ui_ex_section_end_dialog m_ui;
  QString m_scoreTemplate;
  int m_step = 0;
  int m_timerId = -1;
  bool m_shown = false;
  bool m_leaving = false;  // a fade-out runs
  int m_wrong = 0;
  int m_correct = 0;
  int m_contentsTop = 0;  // the least height of the space above the title
};

}  // namespace UI
