#include "src/ui/loading_dialog.h"

#include <QGraphicsOpacityEffect>
#include <QMovie>
#include <QTimerEvent>

#include "src/ui/application.h"
#include "src/ui/screen_geometry.h"

namespace UI {

LoadingDialog::LoadingDialog(QWidget* parent)
    : QDialog(parent), m_movie(new QMovie(QStringLiteral(":/PIX/pixmap/equalizer2.gif"))) {
  m_ui.setupUi(this);
  m_ui.Status->setMovie(m_movie);
  m_ui.Loading_4->setText(m_ui.Loading_4->text().arg(tr("Loading")));
  setModal(true);
  // Without a window type the cover is a child of its parent, or a frameless window of its own.
  setWindowFlags(Qt::FramelessWindowHint);
  if (!isWindow()) {
    // A child's window opacity does nothing: the cover dims through an effect instead.
    m_effect = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(m_effect);
  }
  applyOpacity(StartOpacity);
  const Application* app = Application::instance();
  if (isWindow() && app && app->IsFullscreen()) setGeometry(PrimaryScreenGeometry());
}

LoadingDialog::~LoadingDialog() {
  m_fadeTimer.stop();
  delete m_movie;
}

double LoadingDialog::opacity() const {
  return m_effect ? m_effect->opacity() : windowOpacity();
}

void LoadingDialog::applyOpacity(double opacity) {
  if (m_effect) {
    m_effect->setOpacity(opacity);
  } else {
    setWindowOpacity(opacity);
  }
}

void LoadingDialog::setVisible(bool visible) {
  m_fadeTimer.stop();
  m_movie->stop();
  m_opacity = StartOpacity;
  if (visible) {
    if (parentWidget() && !isWindow()) setGeometry(parentWidget()->rect());
    applyOpacity(StartOpacity);
    m_movie->start();
    if (m_fadeOption == Gradual) {
      m_fadeTimer.start(StepMs, this);
    } else {
      m_opacity = FinalOpacity;
      applyOpacity(FinalOpacity);
    }
  }
  QDialog::setVisible(visible);
}

void LoadingDialog::done(int) {
  setVisible(false);
  emit CloseDialog();
}

void LoadingDialog::fadeIn() {
  m_fadeTimer.start(StepMs, this);
}

void LoadingDialog::timerEvent(QTimerEvent* event) {
  if (event->timerId() == m_fadeTimer.timerId()) {
    darken();
  } else {
    QDialog::timerEvent(event);
  }
}

void LoadingDialog::darken() {
  m_opacity += OpacityStep;
  applyOpacity(m_opacity);
  if (m_opacity >= FinalOpacity) m_fadeTimer.stop();
}

}  // namespace UI
