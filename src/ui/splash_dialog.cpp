#include "src/ui/splash_dialog.h"

#include "src/ui/screen_geometry.h"

namespace UI {

SplashDialog::SplashDialog(QWidget* parent) : QDialog(parent) {
  m_ui.setupUi(this);
  setModal(false);
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_TranslucentBackground);
  // A window over the whole screen would be black where no compositor makes it translucent, so
  // the window is just the picture, centred.
  const QSize picture = m_ui.widget->minimumSize();
  QRect area(QPoint(0, 0), picture);
  area.moveCenter(PrimaryScreenGeometry().center());
  setGeometry(area);
}

}  // namespace UI
