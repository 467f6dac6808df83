#include "src/ui/controls/settings_locked.h"

#include "ui_SettingsLocked.h"

namespace UI {

SettingsLocked::SettingsLocked(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui_SettingsLocked>()) {
  m_ui->setupUi(this);
  // No window type among the flags: the overlay stays inside its parent.
  setWindowFlags(Qt::FramelessWindowHint);
}

SettingsLocked::~SettingsLocked() = default;

void SettingsLocked::setQuizMode(bool quiz) {
  if (quiz) m_ui->label->setText(tr("Settings cannot be changed in a quiz mode."));
}

QLabel* SettingsLocked::message() const {
  return m_ui->label;
}

}  // namespace UI
