#include "src/ui/speaker_widget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace UI {

SpeakerWidget::SpeakerWidget(QWidget* parent)
    : QWidget(parent), m_timer(this), m_label(new QLabel(this)) {
  for (int i = 0; i < FrameCount; ++i)
    m_frames[size_t(i)] = QPixmap(QStringLiteral(":/pixmap/speaker/%1.png").arg(i + 1));
  m_label->setFixedSize(m_frames[0].size());
  m_timer.setInterval(FrameIntervalMs);
  connect(&m_timer, &QTimer::timeout, this, &SpeakerWidget::frameChanged);

  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  row->setContentsMargins(0, 0, 0, 0);
  row->addStretch();
  row->addWidget(m_label);
  row->addStretch();
  auto* column = new QVBoxLayout(this);
  column->setSpacing(0);
  column->setContentsMargins(0, 0, 0, 0);
  column->addStretch();
  column->addLayout(row);
  column->addStretch();
}

void SpeakerWidget::start() {
  m_running = true;
  m_counter = 0;
  m_timer.start();
}

void SpeakerWidget::stop() {
  m_counter = 0;
  m_timer.stop();
}

void SpeakerWidget::frameChanged() {
  if (!m_running) return;
  ++m_counter;
  m_label->setPixmap(m_frames[size_t(m_counter % FrameCount)]);
  m_label->update();
}

}  // namespace UI
