#pragma once

// Tells when a dialog comes up over the exercise screen: a notice of the main window (help that
// could not be opened, the learner's files), the About or news dialog, a message of the screen's
// own, or a dialog window of its own such as the print dialog. While the learner reads it, the
// lesson behind it must not run on, or its questions run out of time unseen.

#include <QObject>

class QWidget;

namespace UI {

class DialogCoverWatch : public QObject {
  Q_OBJECT

 public:
  // Watches every dialog shown in `screen`'s window, and every dialog window.
  explicit DialogCoverWatch(QWidget* screen);
  ~DialogCoverWatch() override;

 signals:
  void Covered();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_screen;
};

}  // namespace UI
