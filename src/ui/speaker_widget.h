#pragma once

// The animated loudspeaker the exercise screen runs while a sound question plays: fourteen frames
// shown in turn, centred in the widget.

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <array>

class QLabel;

namespace UI {

class SpeakerWidget : public QWidget {
  Q_OBJECT

 public:
  static constexpr int FrameCount = 14;
  static constexpr int FrameIntervalMs = 47;

  explicit SpeakerWidget(QWidget* parent = nullptr);

  QLabel* label() const { return m_label; }
  QTimer* timer() { return &m_timer; }

 public slots:
  void start();
  // Stops at the first frame; the next start begins again from there.
  void stop();
  void frameChanged();

 private:
  bool m_running = false;
  std::array<QPixmap, FrameCount> m_frames;
  int m_counter = 0;
  QTimer m_timer;
  QLabel* m_label;
};

}  // namespace UI
