#include "src/ui/difficulty_level_dialog.h"

#include "src/core/settings/settings_manager.h"
#include "src/ui/application.h"

namespace UI {

DifficultyLevelDialog::DifficultyLevelDialog(QWidget* parent, QRect rect)
    : BaseDialog(parent, rect, 0.0, 1.0, true) {
  m_ui.setupUi(this);
  setOnOffClickCloseDlg(m_ui.widget);
  m_ui.Loading_4->setText(tr("Please select difficulty level"));
  m_ui.DoNotShowAgain->setText(tr("Do not show next time"));
  m_ui.lblCustom->setText(tr("Use your custom settings"));
}

void DifficultyLevelDialog::showExerciseMode(Core::ExerciseType type) {
  m_type = type;
  m_ui.DoNotShowAgain->setChecked(false);
  m_ui.DoNotShowAgain->show();
  layoutControls(Application::instance()->GetSettings()->GetDifficultyLevel(type) ==
                 Core::CustomLevel);
  show();
}

void DifficultyLevelDialog::showQuizMode(Core::ExerciseType type) {
  m_type = type;
  m_ui.Custom->hide();
  m_ui.lblCustom->hide();
  m_ui.DoNotShowAgain->hide();
  removeCustomFromGrid();
  m_ui.gridLayout->update();
  show();
}

void DifficultyLevelDialog::removeCustomFromGrid() {
  m_ui.gridLayout->removeWidget(m_ui.Custom);
  m_ui.gridLayout->removeWidget(m_ui.lblCustom);
}

void DifficultyLevelDialog::layoutControls(bool custom) {
  removeCustomFromGrid();
  m_ui.Custom->setVisible(custom);
  m_ui.lblCustom->setVisible(custom);
  if (custom) {
    m_ui.gridLayout->addWidget(m_ui.Custom, 0, 1, 1, 1);
    m_ui.gridLayout->addWidget(m_ui.lblCustom, 1, 0, 1, 3);
  }
  m_ui.gridLayout->update();
}

void DifficultyLevelDialog::show() {
  for (QWidget* item : {static_cast<QWidget*>(m_ui.Custom), static_cast<QWidget*>(m_ui.Level1),
                        static_cast<QWidget*>(m_ui.Level2), static_cast<QWidget*>(m_ui.Level3),
                        static_cast<QWidget*>(m_ui.Level4), static_cast<QWidget*>(m_ui.Level5)})
    item->setEnabled(true);
  BaseDialog::show();
}

void DifficultyLevelDialog::itemPressed(int level) {
  Application* app = Application::instance();
  if (m_ui.DoNotShowAgain->isChecked()) {
    Core::GlobalSettings settings = app->GetSettings()->globalSettings;
    settings.showDifficultyDialog = false;
    app->SetGlobalSettings(settings);
  }
  app->GetSettings()->SetDifficultyLevel(m_type, Core::DifficultyLevelPreset(level));
  fadeOut();
  emit Play();
}

}  // namespace UI
