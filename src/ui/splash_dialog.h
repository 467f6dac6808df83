#pragma once

// The picture shown while the main window is being built: a frameless window of the picture's
// size in the middle of the primary screen.

#include <QDialog>

#include "ui_ex_splash_dialog.h"

namespace UI {

class SplashDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SplashDialog(QWidget* parent);

 private:
  Ui_ex_splash_dialog m_ui;
};

}  // namespace UI
