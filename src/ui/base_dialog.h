#pragma once

// The fading overlay under the About, mail, warning and difficulty dialogs. A dialog is a child
// widget laid over the rectangle its creator gives (usually the whole window), with its visible
// panel centred by its form; it fades in and out through an opacity effect and is visible
// exactly while a fade-in runs, while it is shown, and while a fade-out runs. A press outside the
// panel can close it, and exec() holds its caller, with the rest of the window taking no input,
// until the fade-out has ended.

#include <QAbstractAnimation>
#include <QDialog>
#include <QRect>

class QGradient;
class QGraphicsOpacityEffect;

namespace UI {

class CustomPropertyAnimation;

class BaseDialog : public QDialog {
  Q_OBJECT
  Q_PROPERTY(double opacity READ opacity WRITE setOpacity)

 public:
  static constexpr int FadeMs = 500;

  BaseDialog(QWidget* parent, QRect rect, double startOpacity, double endOpacity, bool translucent);
  ~BaseDialog() override;

  // Fades in from hidden; a visible dialog (also one fading out) is left as it is.
  virtual void show();
  // Shows, then returns once the fade-out has ended: the result set by done(), else 0.
  int exec() override;
  virtual void hide();
  void fadeOut();
  void fadeIn();

  void setOnOffClickCloseDlg(QWidget* frame);
  void setShadowEffect(QWidget* frame);
  static void setShadowGradiaentColor(QGradient& gradient);

  double opacity() const;
  void setOpacity(double opacity);

  // Closing through the dialog's own keys (Escape) or done() fades out as Close does.
  void done(int result) override;

 signals:
  void DialogClosed();
  void fading();

 public slots:
  void setVisibility(QAbstractAnimation::State newState, QAbstractAnimation::State oldState);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintShadow();

  // The effect comes first: the animation reads the opacity as it is created.
  QGraphicsOpacityEffect* m_opacityEffect;
  CustomPropertyAnimation* m_fade;
  QWidget* m_frame = nullptr;
  QRect m_rect;
  bool m_shadow = false;
};

}  // namespace UI
