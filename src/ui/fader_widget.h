#pragma once

// The host of the shown screen, which cross-fades from a picture of the old screen to a picture
// of the new one. Each screen is rendered once when a fade starts (again only after a resize);
// while the fade runs both screens are hidden and every frame only blends the two pictures, which
// are let go when it ends. Not fading, the fader draws nothing.

#include <QPixmap>
#include <QRect>
#include <QWidget>

class QTimeLine;
class QVBoxLayout;

namespace UI {

// The picture of `widget` inside `rect` (widget coordinates; a negative width or height reaches
// to the widget's edge), drawn with its children on a transparent background; null when the
// rectangle misses the widget.
QPixmap grabwgt(QWidget* widget, QRect rect);
// Delivers the pending resize events of a widget tree that has never been shown.
void sendResizeEvents(QWidget* widget);

class FaderWidget : public QWidget {
  Q_OBJECT

 public:
  explicit FaderWidget(QWidget* parent);

  void fadeToWidget(QWidget* widget);
  // Fades `widget` in over nothing.
  void fadeToWidgetWOSnapshot(QWidget* widget);
  void fadeToWidgetImpl(QWidget* widget, bool animate);
  void switchToWidget(QWidget* widget);
  int fadeDuration() const;
  void setFadeDuration(int ms);
  void refreshFades();

  bool isFading() const { return m_fadeState == 1; }
  QWidget* currentWidget() const { return m_current; }
  // Whether pictures of the screens are held, as they are only during a fade.
  bool holdsPictures() const { return !m_oldPicture.isNull() || !m_newPicture.isNull(); }

  // While set, the incoming screen is pictured again at every frame, for screens that change
  // while they fade in.
  bool refreshSnapshotEachFrame = false;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void startFade(QWidget* widget, bool animate);
  // Puts `widget` into the layout just long enough to take its picture over the whole fader.
  QPixmap pictureOf(QWidget* widget);
  void detach(QWidget* widget);
  void ReleasePictures();

  QTimeLine* m_timeLine;
  QVBoxLayout* m_layout;
  bool m_snapshotsReady = false;
  bool m_resizedDuringFade = false;
  int m_fadeState = 0;
  QPixmap m_newPicture;
  QPixmap m_oldPicture;
  QWidget* m_current = nullptr;
  QWidget* m_previous = nullptr;
  bool m_keepOldPicture = false;
};

}  // namespace UI
