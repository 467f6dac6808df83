#pragma once

// A two-sided score bar drawn from pictures: the wrong count grows leftwards in red and the right
// count rightwards in green from the centre, each with its number in a box at the centre.

#include <QPixmap>
#include <QProgressBar>

class Progress : public QProgressBar {
  Q_OBJECT

 public:
  // 0 main (home screen), 2 score (section end), any other value thin (statistics).
  using Kind = int;
  static constexpr Kind Main = 0;
  static constexpr Kind Thin = 1;
  static constexpr Kind Score = 2;

  explicit Progress(QWidget* parent = nullptr);
  Progress(QWidget* parent, Kind kind);

  void init(Kind kind);
  void setLeftValue(int value);
  // The left (red) count, then the right (green) count, which is the bar's own value.
  void setValues(int left, int right);
  // The full scale; a negative value scales against the larger of the two counts.
  void setMaxValue(int max);
  // The numbers shown are the counts divided by this (at least 1), so callers can animate in
  // sub-steps.
  void setStepsPerValue(int steps);
  int leftValue() const { return m_leftValue; }

  // Lengths in pixels of the red and the green bar for a bar `halfWidth` pixels long per side.
  // Counts up to the full int range are scaled in 64 bits.
  static int BarLength(int count, int halfWidth, int max);

  // The two boxes at the centre that hold the numbers: each 10 pixels wide for every digit of the
  // longest number and 7 more, but no wider than half the bar; the font made smaller where that
  // number would not fit its box.
  struct NumberBoxes {
    int width;
    QFont font;
  };
  static NumberBoxes FitNumbers(const QFont& font, QSize bar, const QString& longest);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int m_leftValue = 0;
  int m_max = -1;
  int m_stepsPerValue = 1;
  QPixmap m_background;
  QPixmap m_red;
  QPixmap m_green;
};

class SectionEndProgress : public Progress {
  Q_OBJECT

 public:
  explicit SectionEndProgress(QWidget* parent) : Progress(parent, Score) {}
};
