#pragma once

// The exercise screen's seek slider. It lies over the timeline with its section buttons: a press
// on the groove goes to the button underneath instead of moving the slider, and the timeline is
// painted through the groove so only the handle covers it. A drag of the handle ends where the
// button is let go, over the groove too. A slider that does not seek still passes the groove's
// presses to the buttons, but its handle follows nothing the learner does.

#include <QSlider>

#include <memory>

class QPixmap;

class ButtonSlider : public QSlider {
  Q_OBJECT

 public:
  explicit ButtonSlider(QWidget* parent = nullptr);
  ~ButtonSlider() override;

  // The widget under the slider; not owned. Null leaves the slider a plain one.
  void setBackgroudWidget(QWidget* widget) { m_background = widget; }

  // Off, no press, drag, wheel or key moves the handle, nor tells that the slider was pressed or
  // let go; only the program sets its value.
  void setSeekable(bool seekable);
  bool isSeekable() const { return m_seekable; }

  // Where the handle lies, in the slider.
  QRect handleRect() const;
  // Starts a drag of the handle at `position` for a press that a widget over the slider took:
  // the slider is pressed there and follows the pointer until the button is let go. A slider
  // that does not seek takes no drag.
  void takeDrag(QPoint position);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Sends the event to the background's child under it when it falls on the groove; false leaves
  // it to the slider.
  bool ForwardGrooveEvent(QMouseEvent* event);

  bool OnGroove(QPoint position) const;

  QWidget* m_background = nullptr;
  std::shared_ptr<QPixmap> m_cache;
  bool m_grabbing = false;  // holds the mouse for a drag taken over
  bool m_seekable = true;
};
