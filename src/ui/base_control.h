#pragma once

// The root of the shell's own drawn controls (the on-screen piano, the score board).

#include <QWidget>

class BaseControl : public QWidget {
 public:
  using QWidget::QWidget;
};
