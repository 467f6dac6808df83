#pragma once

// The coloured edge of the score frame that shows the last verdict. It lies over the frame and
// takes only the frame's outer border as its area (its mask), so nothing inside the frame takes
// the colour, and showing, changing or hiding it repaints those few pixels and nothing beneath.
// The colour is a paint: no style sheet changes and no widget is polished again per answer.

#include <QColor>
#include <QString>
#include <QWidget>

namespace UI {

// The border a frame look of the form draws: its width and colour, read from the declarations
// "border: 2px" (or "border-width") and "border-color: rgb(r,g,b)" (or any colour name Qt knows).
// No border (width 0) when the sheet gives none.
struct EdgeLook {
  int width = 0;
  QColor colour;

  bool IsVisible() const { return width > 0 && colour.isValid(); }
  static EdgeLook FromStyleSheet(const QString& sheet);
};

class VerdictEdge : public QWidget {
 public:
  // Lies over `frame` and follows its size; shows nothing until given a look.
  explicit VerdictEdge(QWidget* frame);

  // Shows the look's border over the frame's edge, or nothing for a look without one.
  void ShowLook(const EdgeLook& look);
  const EdgeLook& Look() const { return m_look; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitFrame();

  EdgeLook m_look;
};

}  // namespace UI
