#include "src/ui/settings_control.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace UI {

SettingsPanelStandIn::SettingsPanelStandIn(QWidget* parent, const QString& name,
                                           const QString& title)
    : SettingsControl(parent), m_label(new QLabel(title, this)), m_title(title) {
  setObjectName(name);
  setStyleSheet("background-color: rgb(32, 36, 44); color: white; font: 22px \"Tahoma\";");
  m_label->setAlignment(Qt::AlignCenter);
  auto* close = new QPushButton(tr("Close"), this);
  close->setObjectName("Close");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_label);
  layout->addWidget(close, 0, Qt::AlignHCenter);
  connect(close, &QPushButton::clicked, this, &SettingsControl::HideSettings);
}

void SettingsPanelStandIn::Data2Gui() {
  m_label->setText(isQuizMode() ? tr("%1 (read-only during a quiz)").arg(m_title) : m_title);
}

}  // namespace UI
