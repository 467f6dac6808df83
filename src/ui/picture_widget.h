#pragma once

// Shows a question given as a picture, fitted into the widget and centred (with a line of words
// under it, if given), or as one large centred text. Nothing here repaints: the exercise screen
// brings the widget in through its cross-fade after setting it.

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace UI {

class PictureWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PictureWidget(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

  void setText(const QString& text);
  void setPicture(const QString& path);
  void setPicture(const QPixmap& picture);
  // A line of words under the picture; none when empty.
  void setCaption(const QString& caption);
  const QString& caption() const { return m_caption; }

  // The rectangle the picture is drawn into: shrunk to the widget's width, then to its height,
  // keeping its proportions, and centred.
  static QRect FittedRect(QSize picture, QSize widget);
  // The part of the widget that what it shows covers (the picture with its caption, or the
  // text); empty when it shows nothing.
  QRect shownRect() const;

  // While set the picture is not drawn; the exercise screen clears it when a question shows.
  bool pictureHidden = true;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Where the picture goes, leaving room under it for the caption when there is one.
  QRect PictureRect() const;
  // The band under the picture that the caption is written into.
  QRect CaptionRect(const QRect& picture) const;

  QPixmap m_picture;
  bool m_textMode = false;
  QString m_text;
  QString m_caption;
};

}  // namespace UI
