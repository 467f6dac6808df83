#pragma once

// A modal "Loading" cover: black and half see-through, with a small rounded panel that shows the
// word and a playing equaliser, darkening to a fixed strength as it comes up. Over a parent it is
// a child widget covering the parent, like the shell's other overlays.

#include <QBasicTimer>
#include <QDialog>

#include "ui_loading_dialog.h"

class QGraphicsOpacityEffect;
class QMovie;

namespace UI {

class LoadingDialog : public QDialog {
  Q_OBJECT

 public:
  // 0 darkens step by step, any other value shows the final strength at once.
  using FadeOptions = int;
  static constexpr FadeOptions Gradual = 0;
  static constexpr FadeOptions AtOnce = 1;
  static constexpr double StartOpacity = 0.5;
  static constexpr double FinalOpacity = 0.78;
  static constexpr double OpacityStep = 0.005;
  static constexpr int StepMs = 3;

  explicit LoadingDialog(QWidget* parent = nullptr);
  ~LoadingDialog() override;

  void fadeIn();
  // The cover vanishes at once; there is no fade-out.
  void fadeOut() {}
  double opacity() const;
  bool darkening() const { return m_fadeTimer.isActive(); }
  // One step of the darkening, as a tick of its timer.
  void darken();
  QMovie* movie() const { return m_movie; }

 signals:
  void CloseDialog();

 public slots:
  void setVisible(bool visible) override;
  // Hides the cover and emits CloseDialog(); the result stays as it was.
  void done(int result) override;
  void setFadeOptions(UI::LoadingDialog::FadeOptions option) { m_fadeOption = option; }

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  void applyOpacity(double opacity);

  Ui_loading_dialog m_ui;
  QBasicTimer m_fadeTimer;
  double m_opacity = StartOpacity;
  FadeOptions m_fadeOption = Gradual;
  QMovie* m_movie;
  QGraphicsOpacityEffect* m_effect = nullptr;
};

}  // namespace UI
