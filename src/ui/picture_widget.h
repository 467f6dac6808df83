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

  // While set the picture is not drawn; the exercise screen clears it when a question shows.
  bool pictureHidden = true;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap m_picture;
  bool m_textMode = false;
  QString m_text;
  QString m_caption;
};

}  // namespace UI
